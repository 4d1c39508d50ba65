#pragma once

#include <string>
#include <unordered_map>
#include <vector>

namespace dez::trelix {

namespace core {

// Answers of lexicon lookups already made, by word.
class ILookupCache {
public:
    // Null when the word was not looked up yet.
    virtual const std::vector<std::string>* lookup(const std::string& word) const = 0;
    // Keeps an earlier entry of the word unchanged.
    virtual void add(const std::string& word, const std::vector<std::string>& results) = 0;
    virtual void clear() = 0;
    virtual ~ILookupCache() = default;
};

} // namespace core

// One per document, shared by every lookup made for it.
class LookupCache : public core::ILookupCache {
public:
    LookupCache();

    const std::vector<std::string>* lookup(const std::string& word) const override;
    void add(const std::string& word, const std::vector<std::string>& results) override;
    void clear() override;

    std::unordered_map<std::string, std::vector<std::string>> entries;
};

} // namespace dez::trelix

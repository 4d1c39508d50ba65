#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

namespace dez::trelix {

namespace core {

// Answers of lexicon lookups already made, by lookup step and word. Each
// step has its own slot, so no step ever sees another step's answer (or its
// property suffix); empty answers are kept too.
class ILookupCache {
public:
    // A new slot for one lookup step; slots are never handed out twice.
    virtual std::size_t add_step() = 0;
    // Null when the step has not looked the word up yet.
    virtual const std::vector<std::string>* lookup(std::size_t step,
                                                   const std::string& word) const = 0;
    // Keeps an earlier entry of the step and word unchanged.
    virtual void add(std::size_t step, const std::string& word,
                     const std::vector<std::string>& results) = 0;
    // Forgets every answer; the slots stay valid.
    virtual void clear() = 0;
    virtual ~ILookupCache() = default;
};

} // namespace core

// One per document, shared by every lookup made for it.
class LookupCache : public core::ILookupCache {
public:
    using Answers = std::unordered_map<std::string, std::vector<std::string>>;

    std::size_t add_step() override;
    const std::vector<std::string>* lookup(std::size_t step,
                                           const std::string& word) const override;
    void add(std::size_t step, const std::string& word,
             const std::vector<std::string>& results) override;
    void clear() override;

    // Indexed by step slot.
    std::vector<Answers> entries;

private:
    std::size_t next_step_ = 0;
};

} // namespace dez::trelix

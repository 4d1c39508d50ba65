#pragma once

#include <string>
#include <vector>

namespace dez::trelix::core {

// One step of a lookup chain.
class ILookup {
public:
    virtual ~ILookup() = default;
    // Through the document's lookup cache.
    virtual std::vector<std::string> lookup(const std::string& word) const = 0;
    // Neither reads nor fills the cache.
    virtual std::vector<std::string> lookup_no_cache(const std::string& word) const = 0;

    // Suffix appended to every analysis the step returns.
    std::string properties;
};

} // namespace dez::trelix::core

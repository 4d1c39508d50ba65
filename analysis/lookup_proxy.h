#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "analysis/lookup.h"

namespace dez::afst {
class LookupInterface;
}

namespace dez::trelix {
class Blackboard;
}

namespace dez::trelix::core {

// A lookup strategy as a chain step of one document, its answers kept in the
// document's lookup cache under a slot of its own.
class LookupProxy : public ILookup {
public:
    // Without a blackboard (or a cache on it) every lookup walks the lexicon.
    LookupProxy(std::shared_ptr<dez::afst::LookupInterface> strategy, Blackboard* blackboard);

    std::vector<std::string> lookup(const std::string& word) const override;
    std::vector<std::string> lookup_no_cache(const std::string& word) const override;

    std::shared_ptr<dez::afst::LookupInterface> strategy;
    // Owns the chains that hold this step, so it outlives it.
    Blackboard* blackboard;
    // The language step's id in the thread's cache across documents; 0 for
    // none.
    uint64_t shared_step = 0;

private:
    std::vector<std::string> with_properties(std::vector<std::string> results) const;

    std::size_t step_ = 0;
};

} // namespace dez::trelix::core

#pragma once

#include <cstddef>
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

private:
    std::size_t step_ = 0;
};

} // namespace dez::trelix::core

#pragma once

#include <memory>
#include <vector>

namespace dez::afst {
class AFst;
}

namespace dez::trelix::core {

class ILookup;

// A document's lookup objects for its language (not a token's reading, which
// is dez::trelix::MorphData).
class MorphData {
public:
    // The disambiguation transducer; may be empty.
    std::shared_ptr<dez::afst::AFst> postagger;
    // The lexicon lookups in configuration order.
    std::vector<std::shared_ptr<ILookup>> chain;
    std::vector<std::shared_ptr<ILookup>> guessers;
};

} // namespace dez::trelix::core

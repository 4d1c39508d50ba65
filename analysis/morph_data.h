#pragma once

#include <memory>
#include <vector>

#include <nlohmann/json_fwd.hpp>

namespace dez::afst {
class AFst;
}

namespace dez::trelix {
class Engine;
}

namespace dez::trelix::core {

class ILookup;
struct MorphDataDescriptor;

// A document's lookup objects for its language (not a token's reading, which
// is dez::trelix::MorphData).
class MorphData {
public:
    // The descriptor of one chain entry of a language configuration, its
    // transducers taken from the engine's shared ones (the caller holds the
    // engine lock). `entry` must outlive the descriptor. Until the
    // lookup-descriptor work, "transform" and "properties" are ignored and
    // "compound" is accepted.
    static MorphDataDescriptor create_descriptor(const Engine* engine, const nlohmann::json& entry);

    // The disambiguation transducer; may be empty.
    std::shared_ptr<dez::afst::AFst> postagger;
    // The lexicon lookups in configuration order.
    std::vector<std::shared_ptr<ILookup>> chain;
    std::vector<std::shared_ptr<ILookup>> guessers;
};

} // namespace dez::trelix::core

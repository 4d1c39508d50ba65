#pragma once

#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

namespace dez::afst {
class AFst;
}

namespace dez::trelix {
class Blackboard;
class Engine;
} // namespace dez::trelix

namespace dez::trelix::core {

class ILookup;
struct MorphDataDescriptor;

// A document's lookup objects for its language (not a token's reading, which
// is dez::trelix::MorphData).
class MorphData {
public:
    using const_iterator = std::vector<std::shared_ptr<ILookup>>::const_iterator;

    // The descriptor of one chain entry of a language configuration, its
    // transducers taken from the engine's shared ones (the caller holds the
    // engine lock). The descriptor keeps its own copy of the entry. Fails
    // with dez::Exception for the type "compound", a "guesser" entry without
    // guesser file, an unknown "transform" or badly shaped "properties".
    static MorphDataDescriptor create_descriptor(const Engine* engine, const nlohmann::json& entry);

    // One lookup step for the document, its strategy chosen by the
    // descriptor's type. Fails with dez::Exception for a type without
    // strategy, a missing transducer or a guesser without guesser file.
    static std::shared_ptr<ILookup> create(const MorphDataDescriptor& descriptor,
                                           Blackboard* blackboard);

    // The first step's answer, empty or not.
    std::vector<std::string> first(const std::string& word) const;
    // The first answer of the steps after the first.
    std::vector<std::string> others(const std::string& word) const;
    // The first answer of the whole chain.
    std::vector<std::string> lookup(const std::string& word) const;
    // The first answer of the guessers.
    std::vector<std::string> guess(const std::string& word) const;

    const_iterator begin() const { return chain.begin(); }
    const_iterator end() const { return chain.end(); }
    void add(const std::shared_ptr<ILookup>& step) { chain.push_back(step); }

    // The disambiguation transducer; may be empty.
    std::shared_ptr<dez::afst::AFst> postagger;
    // The lexicon lookups in configuration order.
    std::vector<std::shared_ptr<ILookup>> chain;
    std::vector<std::shared_ptr<ILookup>> guessers;
};

} // namespace dez::trelix::core

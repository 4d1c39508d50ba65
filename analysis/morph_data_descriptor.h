#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <nlohmann/json_fwd.hpp>

namespace dez::afst {
class AFst;
class ILookupConverter;
} // namespace dez::afst

namespace dez::trelix::core {

// How to build one lookup step, as read from a language's chain entry.
// Copies share the transducers and the entry.
struct MorphDataDescriptor {
    int64_t lookup_type = 0;
    std::string file;
    std::string guesser_file;
    std::shared_ptr<dez::afst::ILookupConverter> converter;
    std::shared_ptr<dez::afst::AFst> afst;
    std::shared_ptr<dez::afst::AFst> guesser_afst;
    // A copy of the chain entry: the compound strategies read their settings
    // from it whenever a document builds its steps, and a descriptor may
    // outlive the configuration it was read from.
    std::shared_ptr<const nlohmann::json> config;
    std::string properties;
    // Under this id a thread keeps the step's answers across documents (see
    // thread_lookup_cache); 0 keeps none. A language gets new ids each time
    // it loads; copies share the id as they share the transducers.
    uint64_t shared_step_id = 0;
};

} // namespace dez::trelix::core

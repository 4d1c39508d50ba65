#include "analysis/morph_data.h"

#include <nlohmann/json.hpp>

#include "analysis/lookup_type.h"
#include "analysis/morph_data_descriptor.h"
#include "core-afst/lookup_interface.h"
#include "engine/engine.h"
#include "foundation/exception.h"

namespace dez::trelix::core {

namespace {

std::string text_of(const nlohmann::json& entry, const char* key, const std::string& absent) {
    if (!entry.is_object() || !entry.contains(key))
        return absent;
    return entry.at(key).get<std::string>();
}

} // namespace

// Only what the language loader needs to stand: the type, the files and their
// transducers. The lookup-descriptor work adds the "transform" converter, the
// "properties" suffix and the refusal of unsupported types.
MorphDataDescriptor MorphData::create_descriptor(const Engine* engine,
                                                 const nlohmann::json& entry) {
    MorphDataDescriptor descriptor;
    descriptor.config = &entry;
    descriptor.lookup_type = get_lookup_type(text_of(entry, "lookup", "not_set"));
    const std::string file = text_of(entry, "file", "");
    if (descriptor.lookup_type == dez::afst::lookup_icu)
        return descriptor;
    if (descriptor.lookup_type == dez::afst::lookup_guesser) {
        if (!entry.is_object() || !entry.contains("guesser"))
            throw dez::Exception("Missing 'guesser' morph file in the language config file");
        descriptor.guesser_file = entry.at("guesser").get<std::string>();
        descriptor.guesser_afst = engine->get_afst(descriptor.guesser_file);
    }
    descriptor.file = file;
    descriptor.afst = engine->get_afst(file);
    return descriptor;
}

} // namespace dez::trelix::core

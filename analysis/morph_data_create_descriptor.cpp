#include "analysis/morph_data.h"

#include <nlohmann/json.hpp>

#include "analysis/descriptor_entry.h"
#include "analysis/lookup_type.h"
#include "analysis/morph_data_descriptor.h"
#include "analysis/thread_lookup_cache.h"
#include "core-afst/lookup_interface.h"
#include "engine/engine.h"
#include "foundation/exception.h"

namespace dez::trelix::core {

MorphDataDescriptor MorphData::create_descriptor(const Engine* engine,
                                                 const nlohmann::json& entry) {
    MorphDataDescriptor descriptor;
    const std::string name = get_lookup_type_name(entry);
    descriptor.lookup_type = get_lookup_type(name);
    std::string file;
    if (entry.is_object() && entry.contains("file"))
        file = entry.at("file").get<std::string>();
    descriptor.converter = get_convert(entry);

    switch (descriptor.lookup_type) {
    case dez::afst::lookup_guesser: {
        if (!entry.is_object() || !entry.contains("guesser"))
            throw dez::Exception("Missing 'guesser' morph file in the language config file");
        const std::string guesser = entry.at("guesser").get<std::string>();
        descriptor.guesser_afst = engine->get_afst(guesser);
        descriptor.guesser_file = guesser;
        descriptor.file = file;
        descriptor.afst = engine->get_afst(file);
        break;
    }
    case dez::afst::lookup_not_set:
    case dez::afst::lookup_plain:
    case dez::afst::lookup_compound_v2:
    case dez::afst::lookup_compound_v3:
    case dez::afst::lookup_compound_numbers:
    case dez::afst::lookup_cleaner:
    case dez::afst::lookup_endings:
    case dez::afst::lookup_tag:
        descriptor.afst = engine->get_afst(file);
        descriptor.file = file;
        break;
    case dez::afst::lookup_icu:
        break;
    default:
        throw dez::Exception("invalid config file format, unknown lookup type. supported types "
                             "are [plain,compound,compound_v2,compound_v3,compound_numbers,"
                             "reverse] and not:" +
                             name);
    }
    descriptor.properties = get_additional_properties(entry);
    descriptor.config = std::make_shared<const nlohmann::json>(entry);
    descriptor.shared_step_id = thread_lookup_cache::new_step_id();
    return descriptor;
}

} // namespace dez::trelix::core

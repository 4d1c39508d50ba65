#include "analysis/morph_data.h"

#include <nlohmann/json.hpp>

#include "analysis/lookup_proxy.h"
#include "analysis/morph_data_descriptor.h"
#include "core-afst/cleaner_lookup.h"
#include "core-afst/compound_lookup_numbers.h"
#include "core-afst/compound_lookup_v2.h"
#include "core-afst/compound_lookup_v3.h"
#include "core-afst/endings_lookup.h"
#include "core-afst/guesser_lookup.h"
#include "core-afst/icu_lookup.h"
#include "core-afst/lookup_interface.h"
#include "core-afst/tag_lookup.h"
#include "core-afst/word_lookup.h"
#include "foundation/exception.h"

namespace dez::trelix::core {

namespace {

const nlohmann::json& configuration_of(const MorphDataDescriptor& descriptor) {
    static const nlohmann::json none = nlohmann::json::object();
    return descriptor.config ? *descriptor.config : none;
}

std::shared_ptr<dez::afst::LookupInterface> strategy_of(const MorphDataDescriptor& d) {
    using namespace dez::afst;
    if (d.lookup_type == lookup_icu)
        return std::make_shared<ICULookup>(d.converter);
    if (d.lookup_type == lookup_guesser && !d.guesser_afst)
        throw dez::Exception("Missing 'guesser' morph file in the language config file");
    if (!d.afst && d.lookup_type != lookup_guesser)
        throw dez::Exception("No transducer for the lookup step of morph file:[" + d.file + "]");
    switch (d.lookup_type) {
    case lookup_not_set:
    case lookup_plain:
        return std::make_shared<WordLookup>(d.afst, d.converter);
    case lookup_compound_v2:
        return std::make_shared<CompoundLookupV2>(d.afst, d.converter);
    case lookup_compound_v3:
        return std::make_shared<CompoundLookupV3>(d.afst, d.converter, configuration_of(d));
    case lookup_compound_numbers:
        return std::make_shared<CompoundLookupNumbers>(d.afst, d.converter, configuration_of(d));
    case lookup_cleaner:
        return std::make_shared<CleanerLookup>(d.afst, d.converter);
    case lookup_guesser:
        // A guesser without lexicon answers with its own outputs.
        return std::make_shared<GuesserLookup>(d.guesser_afst, d.afst, d.converter);
    case lookup_endings:
        return std::make_shared<EndingsLookup>(d.afst, d.converter);
    case lookup_tag:
        return std::make_shared<TagLookup>(d.afst, d.converter);
    default:
        throw dez::Exception("No lookup strategy for the lookup type " +
                             std::to_string(d.lookup_type));
    }
}

} // namespace

std::shared_ptr<ILookup> MorphData::create(const MorphDataDescriptor& descriptor,
                                           Blackboard* blackboard) {
    auto step = std::make_shared<LookupProxy>(strategy_of(descriptor), blackboard);
    step->properties = descriptor.properties;
    step->shared_step = descriptor.shared_step_id;
    return step;
}

} // namespace dez::trelix::core

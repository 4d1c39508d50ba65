#include "core-afst/compound_lookup_v3.h"

#include "core-afst/afst.h"
#include "core-afst/compound_ranking.h"
#include "core-afst/compound_stem.h"
#include "core-afst/match_section.h"

#include <nlohmann/json.hpp>

#include <utility>

namespace dez::afst {

CompoundLookupV3::CompoundLookupV3(LookupLexicon lexicon,
                                   std::shared_ptr<ILookupConverter> converter,
                                   const nlohmann::json& configuration)
    : lookup_(std::move(lexicon), std::move(converter)) {
    set_configuration_parameters(configuration);
}

CompoundLookupV3::~CompoundLookupV3() = default;

void CompoundLookupV3::set_configuration_parameters(const nlohmann::json& configuration) {
    if (!configuration.is_object())
        return;
    const auto entry = configuration.find("max_components");
    if (entry != configuration.end())
        max_components_ = entry->get<int32_t>();
}

int CompoundLookupV3::type() const {
    return lookup_compound_v3;
}

ResultsMementoV2 CompoundLookupV3::get_candidates(const std::string& word) const {
    return search(convert(word));
}

std::string CompoundLookupV3::convert(const std::string& word) const {
    return dez::afst::convert(lookup_.converter(), word);
}

ResultsMementoV2 CompoundLookupV3::search(const std::string& converted) const {
    ResultsMementoV2 memento;
    const char* begin = converted.data();
    utf8_iterator::match_section(memento, *lookup_.afst(), begin, begin, begin + converted.size(),
                                 max_components_);
    return memento;
}

std::vector<std::string> CompoundLookupV3::up(const std::string& word) {
    const std::string converted = convert(word);
    ResultsMementoV2 memento = search(converted);
    if (memento.results.empty())
        return {};
    filter_genetives(memento.results);
    if (get_most_likely_components(word, memento.results) < 0)
        return {};
    return construct_stems_v3(word, converted, memento.results);
}

} // namespace dez::afst

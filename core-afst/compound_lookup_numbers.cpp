#include "core-afst/compound_lookup_numbers.h"

#include "core-afst/afst.h"
#include "core-afst/compound_ranking.h"
#include "core-afst/compound_stem.h"

#include <nlohmann/json.hpp>

#include <utility>

namespace dez::afst {

CompoundLookupNumbers::CompoundLookupNumbers(LookupLexicon lexicon,
                                             std::shared_ptr<ILookupConverter> converter,
                                             const nlohmann::json& configuration)
    : lookup_(std::move(lexicon), std::move(converter), configuration) {}

CompoundLookupNumbers::~CompoundLookupNumbers() = default;

int CompoundLookupNumbers::type() const {
    return lookup_compound_numbers;
}

std::vector<std::string> CompoundLookupNumbers::up(const std::string& word) {
    const std::string converted = lookup_.convert(word);
    ResultsMementoV2 memento = lookup_.search(converted);
    if (get_most_likely_components(word, memento.results) < 0)
        return {};
    return construct_stems_v3(word, converted, memento.results);
}

} // namespace dez::afst

#include "core-afst/compound_lookup_v2.h"

#include "core-afst/afst.h"
#include "core-afst/compound_ranking.h"
#include "core-afst/compound_stem.h"
#include "core-afst/match_section.h"

#include <utility>

namespace dez::afst {

namespace {

constexpr int32_t depth_limit = 12;

} // namespace

CompoundLookupV2::CompoundLookupV2(LookupLexicon lexicon,
                                   std::shared_ptr<ILookupConverter> converter)
    : lookup_(std::move(lexicon), std::move(converter)) {}

CompoundLookupV2::~CompoundLookupV2() = default;

int CompoundLookupV2::type() const {
    return lookup_compound_v2;
}

std::vector<std::string> CompoundLookupV2::up(const std::string& word) {
    const std::string converted = convert(lookup_.converter(), word);
    ResultsMementoV2 memento;
    const char* begin = converted.data();
    utf8_iterator::match_section(memento, *lookup_.afst(), begin, begin, begin + converted.size(),
                                 depth_limit);
    if (memento.results.empty() || get_most_likely_components(converted, memento.results) < 0)
        return {};
    return construct_stems_v3(word, converted, memento.results);
}

} // namespace dez::afst

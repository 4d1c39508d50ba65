#include "core-afst/match_section.h"

#include "core-afst/match_section_v2.h"

#include "foundation/string_utils.h"

#include <unicode/uchar.h>

namespace dez::afst {

namespace {

template <class Skipper>
bool run_search(ResultsMementoV2& memento, const AFst& lexicon, const char* section,
                const char* base, const char* end, int32_t depth_limit, long step_budget) {
    CompoundSearchBudget budget(step_budget);
    const MatchSectionV2<const char*, SilentSectionLogger, Skipper> matcher{depth_limit, &budget};
    return matcher(memento, lexicon, section, base, end, 0);
}

} // namespace

namespace utf8_iterator {

bool match_section(ResultsMementoV2& memento, const AFst& lexicon, const char* section,
                   const char* base, const char* end, int32_t depth_limit, long step_budget) {
    return run_search<NoSkipper>(memento, lexicon, section, base, end, depth_limit, step_budget);
}

bool match_section_skip_numbers(ResultsMementoV2& memento, const AFst& lexicon, const char* section,
                                const char* base, const char* end, int32_t depth_limit,
                                long step_budget) {
    return run_search<NumSkipper>(memento, lexicon, section, base, end, depth_limit, step_budget);
}

} // namespace utf8_iterator

bool skip_characters(uint32_t code_point) {
    return code_point == '_' || u_isdigit(static_cast<UChar32>(code_point));
}

bool is_valid_compound(const ResultsMementoV2& memento, const EndOffsetResultPartV2& last) {
    using dez::string::ends_with;
    if (!ends_with(last.analysis, "Num-Std"))
        return true;
    for (const auto& part : memento.parts)
        if (!ends_with(part.analysis, "Num-Std") && !ends_with(part.analysis, "Conj-Coord"))
            return false;
    return true;
}

} // namespace dez::afst

#include "analysis/token_predicates.h"

#include <string>
#include <string_view>

#include <unicode/rbbi.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include "analysis/token_helpers.h"
#include "analysis/token_status.h"
#include "document/token.h"

namespace dez::trelix {

bool is_space_section(int begin, int end, const icu::UnicodeString& text) {
    for (int i = begin; i < end; ++i)
        if (!u_isspace(text.charAt(i))) // charAt answers U+FFFF outside the string
            return false;
    return true;
}

bool is_punctuation(const Token* token) { return has_pos(token, std::string("Punct")); }

bool is_punctuation(Blackboard& blackboard, icu::RuleBasedBreakIterator* rule_based) {
    if (!rule_based)
        return false;
    const TokenMap& map = token_map_of(blackboard);
    auto [first, last] = map.equal_range(rule_based->getRuleStatus());
    for (auto it = first; it != last; ++it)
        if (it->second.compare(0, 6, "+Punct") == 0)
            return true;
    return false;
}

bool is_open_quote(const Annotation* annotation) {
    if (!annotation || annotation->type != annotation_token)
        return false;
    for (const MorphData& reading : static_cast<const Token*>(annotation)->readings)
        if (reading.pos == std::string_view("Punct-Quote") ||
            reading.pos == std::string_view("Punct-Open"))
            return true;
    return false;
}

} // namespace dez::trelix

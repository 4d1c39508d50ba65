#include "analysis/fix_measurements.h"

#include <algorithm>
#include <string>

#include "analysis/lookup.h"
#include "analysis/morph_data.h"
#include "analysis/token_helpers.h"
#include "document/blackboard.h"
#include "document/sentence.h"
#include "document/token.h"
#include "document/token_flags.h"
#include "foundation/pos_table.h"

namespace dez::trelix {

namespace {

Token* next_deciding_token(Token* unit) {
    static const uint32_t adjective = dez::language::pos_table::get_root_pos_id("Adj");
    Token* next = find_next_token(RawPtrIterator(unit), 1);
    while (next && has_pos(next, adjective))
        next = find_next_token(RawPtrIterator(next), 1);
    return next;
}

void settle(Token* unit) {
    if (unit->token_flags & token_flags::multiplier) {
        remove_pos_with_morpho_syntax(unit, "unit");
        return;
    }
    Token* next = next_deciding_token(unit);
    if (next && (has_pos(next, std::string("Nn-Pl")) || has_token_property(next, "unit") ||
                 has_token_property(next, "currency"))) {
        remove_pos_with_morpho_syntax(unit, "unit");
        return;
    }
    if (next && has_pos(next, std::string("Nn-Sg")))
        unit->properties.insert("measure");
    remove_pos_with_morpho_syntax(unit, "value");
}

void settle_all(AnnotationCollection& list) {
    for_each_token(list, [](Token* token) {
        if (token->token_flags & token_flags::unit_or_value)
            settle(token);
    });
}

} // namespace

void fix_measurements(Blackboard& blackboard, Sentence& sentence) {
    if (!(sentence.sentence_flags & sentence_flags::has_unit_or_value))
        return;
    if (!blackboard.lookup_chains || blackboard.lookup_chains->chain.empty())
        return;
    settle_all(sentence.annotations);
}

} // namespace dez::trelix

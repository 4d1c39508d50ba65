#include "analysis/is_header.h"

#include "analysis/token_helpers.h"
#include "analysis/token_predicates.h"
#include "analysis/token_properties.h"
#include "document/annotation_collection.h"
#include "document/blackboard.h"
#include "document/token.h"
#include "document/token_flags.h"
#include "foundation/pos_table.h"

namespace dez::trelix {

namespace {

bool capitalised(Token* token) {
    return init_cap(token) || all_caps(token);
}

// Neither a capital word, a number nor punctuation.
bool plain_word(Token* token) {
    static const uint32_t num = dez::language::pos_table::get_root_pos_id("Num");
    return !capitalised(token) && !has_pos(token, num) && !is_punctuation(token);
}

} // namespace

bool is_header(Blackboard& blackboard, AnnotationCollection& list) {
    static const uint32_t punct = dez::language::pos_table::get_root_pos_id("Punct");
    if (!blackboard.blackboard_options.detect_headers)
        return false;
    Token* first = first_token(list);
    if (!first)
        return false;
    if ((has_pos(first, punct) && has_pos(first, std::string("Punct-Line"))) ||
        (first->token_flags & token_flags::header_prefix))
        return true;
    if (!capitalised(first))
        return false;
    int capitals = 0;
    int short_words = 0;
    for (Annotation* a = list.head; a; a = a->next) {
        if (a->type != annotation_token)
            continue;
        auto* token = static_cast<Token*>(a);
        if (capitalised(token)) {
            ++capitals;
        } else if (plain_word(token)) {
            if (token->literal.size() > 5)
                return false;
            ++short_words;
        }
    }
    return short_words <= 3 && capitals > short_words;
}

bool is_header_new(AnnotationCollection& list) {
    Token* first = first_token(list);
    if (!first || !capitalised(first))
        return false;
    bool any_capital = false;
    for (Annotation* a = list.head; a; a = a->next) {
        if (a->type != annotation_token)
            continue;
        auto* token = static_cast<Token*>(a);
        if (capitalised(token))
            any_capital = true;
        else if (plain_word(token) && token->literal.size() > 5)
            return false;
    }
    return any_capital;
}

} // namespace dez::trelix

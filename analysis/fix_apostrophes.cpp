#include "analysis/fix_apostrophes.h"

#include <string>

#include "analysis/token_helpers.h"
#include "analysis/token_merge_split.h"
#include "analysis/utf8_mapping_table.h"
#include "document/blackboard.h"
#include "document/token_flags.h"
#include "foundation/logger.h"
#include "foundation/regex.h"

namespace dez::trelix {

namespace {

// Joins or splits one apostrophe token; the last token the step touched.
Token* fix_one(Blackboard& blackboard, Sentence& sentence, Token* token) {
    Token* prev = find_previous_token(token, 1);
    if (prev && prev->end != token->begin)
        prev = nullptr;
    Token* next = find_next_token(token, 1);
    if (next && next->begin != token->end)
        next = nullptr;

    std::string joined;
    joined.reserve((prev ? prev->literal.size() : 0) + token->literal.size() +
                   (next ? next->literal.size() : 0));
    if (prev)
        joined += prev->literal;
    joined += token->literal;
    if (next)
        joined += next->literal;
    TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_trace, "[APOSTROPH][IN]:" << joined);

    dez::SMatch match;
    if (!blackboard.apostrophes->regex_match(joined, match)) {
        token->properties.erase("apostrophe");
        return token;
    }
    const dez::SubMatch* group = nullptr;
    for (std::size_t i = 1; i < match.size() && !group; ++i)
        if (match[i].matched)
            group = &match[i];
    const std::size_t split = group ? static_cast<std::size_t>(group->second - joined.data()) : 0;
    if (group)
        TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_trace,
                   "[APOSTROPH][GROUP]:"
                       << "[" << group->str << ":" << split << "]");

    if (!group || split == 0 || split == joined.size()) {
        make_single_token(sentence.annotations, joined, prev, token, next);
        return token;
    }
    const int byte_split =
        token->end - token->begin == 1
            ? static_cast<int>(split)
            : get_utf8_mapping_tbl(blackboard, joined, prev, token, next).at(split);
    make_split_token(sentence.annotations, joined, static_cast<int>(split), byte_split, prev, token,
                     next);
    // The pair (token, next) holds the second half in next: it is done too.
    return prev || !next ? token : next;
}

} // namespace

void fix_apostrophes(Blackboard& blackboard, Sentence& sentence) {
    if (!blackboard.apostrophes || !(sentence.sentence_flags & sentence_flags::has_apostrophe))
        return;
    for (Annotation* a = sentence.annotations.head; a; a = a->next) {
        if (a->type != annotation_token)
            continue;
        auto* token = static_cast<Token*>(a);
        if (token->token_flags & token_flags::apostrophe_join)
            a = fix_one(blackboard, sentence, token);
    }
}

} // namespace dez::trelix

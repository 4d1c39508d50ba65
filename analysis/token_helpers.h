#pragma once

#include <cstdint>
#include <string>

#include "document/annotation.h"
#include "document/sentence.h"
#include "document/token.h"

namespace dez::trelix {

// Calls `step(Token*)` for every token of the list in order, also inside
// nested sentences.
template <typename Step>
void for_each_token(const qvr::common::RawPtrList<Annotation>& list, Step&& step) {
    for (Annotation* a = list.head; a; a = a->next) {
        if (a->type == annotation_token)
            step(static_cast<Token*>(a));
        else if (a->type == annotation_sentence)
            for_each_token(static_cast<Sentence*>(a)->annotations, step);
    }
}

// The n-th token before `position` (which is not looked at); null when the
// position is the end or fewer than n tokens precede it.
Token* find_previous_token(RawPtrIterator position, int n);
// The n-th token after `position`; null when fewer than n follow.
Token* find_next_token(RawPtrIterator position, int n);
// The first token of the list (not inside nested sentences); null when none.
Token* first_token(const qvr::common::RawPtrList<Annotation>& list);

// Some reading's part-of-speech id lies in the class `class_id`.
bool has_pos(const Token* token, const uint32_t& class_id);
// Some reading's part-of-speech text starts with `prefix`.
bool has_pos(const Token* token, const std::string& prefix);
// The same, also looking at each reading's direct components.
bool has_pos_components(const Token* token, const uint32_t& class_id);
bool has_pos_components(const Token* token, const std::string& prefix);
// The token's properties, or the tags of one of its readings, hold `name`.
bool has_property(const Token& token, const std::string& name);
bool has_token_property(const Token* token, const std::string& name);
// True when the property was there.
bool remove_token_property(Token* token, const std::string& name);
// Drops every reading tagged `tag`.
void remove_pos_with_morpho_syntax(Token* token, const std::string& tag);

} // namespace dez::trelix

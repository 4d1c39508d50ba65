#include "analysis/token_merge_split.h"

#include <stdexcept>

#include "analysis/token_properties.h"
#include "document/annotation_collection.h"
#include "document/token.h"
#include "document/token_flags.h"

namespace dez::trelix {

namespace {

void destroy(AnnotationCollection& list, Token* token) {
    list.unlink(token);
    delete token;
}

} // namespace

void make_single_token(AnnotationCollection& list, const std::string& literal, Token* prev,
                       Token* cur, Token* next) {
    cur->literal = literal;
    cur->readings.clear();
    cur->token_flags |= token_flags::apostrophe_join;
    if (prev) {
        cur->properties.insert(prev->properties.begin(), prev->properties.end());
        cur->begin = prev->begin;
        destroy(list, prev);
    }
    if (next) {
        cur->end = next->end;
        destroy(list, next);
    }
}

void make_split_token(AnnotationCollection& list, const std::string& text, int split,
                      int byte_split, Token* prev, Token* cur, Token* next) {
    if (!prev && !next)
        return;
    if (split < 0 || static_cast<std::size_t>(split) > text.size())
        throw std::out_of_range("split past the joined literal");
    Token* first = prev ? prev : cur;
    Token* second = prev ? cur : next;
    const uint32_t byte_offset = static_cast<uint32_t>(byte_split);

    first->properties.clear();
    first->readings.clear();
    first->literal = text.substr(0, static_cast<std::size_t>(split));
    add_properties(first);
    first->end = first->begin + byte_offset;
    first->token_flags |= token_flags::apostrophe_join;

    second->properties.clear();
    second->readings.clear();
    second->literal = text.substr(static_cast<std::size_t>(split));
    second->token_flags |= token_flags::apostrophe_join;
    second->begin = first->begin + byte_offset;
    if (prev && next) {
        second->end = next->end;
        add_properties(second);
        destroy(list, next);
    } else {
        add_properties(second);
    }
}

} // namespace dez::trelix

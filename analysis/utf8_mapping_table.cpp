#include "analysis/utf8_mapping_table.h"

#include <algorithm>
#include <stdexcept>

#include <utf8.h>

#include "document/blackboard.h"
#include "document/token.h"

namespace dez::trelix {

namespace {

bool is_combining_mark(uint32_t c) {
    return c >= 0x0300 && c <= 0x036F;
}

// One character: a code point and the combining marks after it.
template <typename Iterator> void next_character(Iterator& at, Iterator end) {
    utf8::next(at, end);
    while (at != end) {
        Iterator peek = at;
        if (!is_combining_mark(utf8::next(peek, end)))
            break;
        at = peek;
    }
}

} // namespace

std::vector<int32_t> map_literal_to_text(const std::string& literal, const char* text_begin,
                                         const char* text_end) {
    const std::size_t text_size = static_cast<std::size_t>(text_end - text_begin);
    std::vector<int32_t> map(std::max(literal.size(), text_size) + 1, 0);
    auto joined = literal.begin();
    const char* text = text_begin;
    while (text != text_end && joined != literal.end()) {
        next_character(joined, literal.end());
        next_character(text, text_end);
        map[static_cast<std::size_t>(joined - literal.begin())] =
            static_cast<int32_t>(text - text_begin);
    }
    if (joined == literal.end())
        map[literal.size()] = static_cast<int32_t>(text_size);
    return map;
}

std::vector<int32_t> get_utf8_mapping_tbl(Blackboard& blackboard, const std::string& joined,
                                          Token* prev, Token* cur, Token* next) {
    const Token* first = prev ? prev : cur;
    const Token* last = next ? next : cur;
    if (!first || !last || !blackboard.text || first->begin > last->end ||
        last->end > blackboard.text_length)
        throw std::out_of_range("tokens outside the document text");
    return map_literal_to_text(joined, blackboard.text + first->begin, blackboard.text + last->end);
}

} // namespace dez::trelix

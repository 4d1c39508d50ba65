#include "analysis/lid_word_walk.h"

#include <array>
#include <cstdint>

#include <unicode/uchar.h>
#include <utf8.h>

namespace dez::lid {

namespace {

// ICU's answers for ASCII, asked once: most text is ASCII and every
// character is classified.
enum : uint8_t { ascii_alpha = 1, ascii_space = 2, ascii_closing = 4 };

const std::array<uint8_t, 128> ascii_classes = [] {
    std::array<uint8_t, 128> table{};
    for (UChar32 c = 0; c < 128; ++c)
        table[c] = (u_isalpha(c) ? ascii_alpha : 0) | (u_isspace(c) ? ascii_space : 0) |
                   (u_isspace(c) || u_iscntrl(c) || u_ispunct(c) ? ascii_closing : 0);
    return table;
}();

bool is_alpha(char32_t c) {
    return c < 128 ? (ascii_classes[c] & ascii_alpha) != 0 : u_isalpha(c);
}

bool is_space(char32_t c) {
    return c < 128 ? (ascii_classes[c] & ascii_space) != 0 : u_isspace(c);
}

bool closes_word(char32_t c) {
    return c < 128 ? (ascii_classes[c] & ascii_closing) != 0
                   : u_isspace(c) || u_iscntrl(c) || u_ispunct(c);
}

bool ascii_capital(char c) {
    return c >= 'A' && c <= 'Z';
}

} // namespace

bool sentence_end(char32_t c) {
    return c == U'!' || c == U'.' || c == U'?';
}

WordWalk::WordWalk(const char* text, std::size_t length) : position_(text), end_(text + length) {}

bool WordWalk::next(std::string& word, char32_t& closing, bool& at_end) {
    const char* word_begin = nullptr;
    while (position_ < end_) {
        const char* here = position_;
        const char32_t c = utf8::unchecked::next(position_);
        at_end = position_ >= end_;
        const char* word_end = nullptr;
        if (!word_begin) {
            if (!is_alpha(c))
                continue;
            word_begin = here;
            // A word of the text's last letter ends with the text.
            if (at_end)
                word_end = end_;
        } else if (is_alpha(c)) {
            if (at_end)
                word_end = end_;
        } else if (sentence_end(c) && !at_end && !is_space(utf8::unchecked::peek_next(position_))) {
            continue;
        } else if (closes_word(c)) {
            word_end = at_end ? end_ : here;
        } else if (at_end) {
            word_end = end_;
        }
        if (!word_end)
            continue;
        closing = c;
        const char* begin = word_begin;
        word_begin = nullptr;
        if (accept(begin, word_end, c, at_end, word))
            return true;
    }
    return false;
}

bool WordWalk::accept(const char* begin, const char* end, char32_t closing, bool at_end,
                      std::string& word) {
    if (!sentence_start_ && ascii_capital(*begin)) {
        sentence_start_ = sentence_end(closing);
        return false;
    }
    for (const char* p = begin + 1; p < end; ++p)
        if (ascii_capital(*p))
            return false;
    word.assign(begin, end);
    if (ascii_capital(word[0]))
        word[0] = static_cast<char>(word[0] - 'A' + 'a');
    sentence_start_ = sentence_end(closing) && !at_end;
    return true;
}

} // namespace dez::lid

#include "analysis/token_properties.h"

#include <unicode/uchar.h>
#include <utf8.h>

#include "document/token.h"

namespace dez::trelix {

namespace {

bool is_ascii_letter(uint32_t c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool is_ascii_digit(uint32_t c) {
    return c >= '0' && c <= '9';
}

} // namespace

void add_properties(Token* token) {
    const std::string& literal = token->literal;
    if (literal.empty())
        return;
    const auto end = literal.end();
    auto at = literal.begin();
    if (u_isupper(static_cast<UChar32>(utf8::next(at, end)))) {
        // Counted in code points: a single capital of any byte length is
        // "init-cap", as 'A' is.
        bool all_upper = true;
        while (at != end)
            if (!u_isupper(static_cast<UChar32>(utf8::next(at, end)))) {
                all_upper = false;
                break;
            }
        const bool single = all_upper && utf8::distance(literal.begin(), end) == 1;
        token->properties.insert(all_upper && !single ? "all-cap" : "init-cap");
        token->properties.insert("nf");
    }
    bool letter = false;
    bool digit = false;
    for (at = literal.begin(); at != end;) {
        const uint32_t c = utf8::next(at, end);
        letter = letter || is_ascii_letter(c);
        digit = digit || is_ascii_digit(c);
        if (letter && digit) {
            token->properties.insert("alphanum");
            token->properties.insert("nf");
            return;
        }
    }
}

bool all_caps(Token* token) {
    return token->properties.count("all-cap") != 0;
}

bool init_cap(Token* token) {
    return token->properties.count("init-cap") != 0;
}

} // namespace dez::trelix

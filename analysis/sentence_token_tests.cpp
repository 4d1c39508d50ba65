#include "analysis/sentence_token_tests.h"

#include <algorithm>
#include <string_view>

#include "document/token.h"

namespace dez::trelix::repair {

namespace {

// Called for every token of every sentence: views compare sizes first.
bool first_pos_is(const Token* token, std::string_view pos) {
    return token && !token->readings.empty() && token->readings.front().pos == pos;
}

bool has_property(const Token* token, const char* name) {
    return token && token->properties.count(name) != 0;
}

} // namespace

bool is_quote(const Token* token) {
    return token &&
           std::any_of(token->readings.begin(), token->readings.end(),
                       [](const MorphData& r) { return r.pos == std::string_view("Punct-Quote"); });
}

bool is_punct_sentence(const Token* token) {
    return first_pos_is(token, "Punct-Sent");
}

bool is_punct_line(const Token* token) {
    return first_pos_is(token, "Punct-Line");
}

bool is_line_breaker(const Token* token) {
    return first_pos_is(token, "Punct");
}

bool is_colum(const Token* token) {
    return token && !token->literal.empty() && token->literal[0] == ':';
}

bool is_abbrev(const Token* token) {
    return has_property(token, "abbrev");
}

bool init_cap(const Token* token) {
    return has_property(token, "init-cap");
}

bool is_title(const Token* token) {
    return has_property(token, "title");
}

} // namespace dez::trelix::repair

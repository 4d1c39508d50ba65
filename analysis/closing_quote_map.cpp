#include "analysis/closing_quote_map.h"

#include "document/token.h"

namespace dez::trelix {

const std::map<std::string, std::pair<std::string, std::string>> closing_quote_map = {
    {"\"", {"\"", ""}},         {"\u201E", {"\u201C", "\""}},     {"'", {"'", ""}},
    {"\u00AB", {"\u00BB", ""}}, {"\u201C", {"\u201D", "\u201C"}}, {"\u201D", {"\u201C", "\u201D"}},
    {"\u2019", {"\u2018", ""}}, {"\u2018", {"\u2019", ""}},
};

bool is_opening_quote(const Token* token) {
    return token && closing_quote_map.count(token->literal) != 0;
}

Token* find_closing_quote(const Token* token) {
    if (!token)
        return nullptr;
    const auto quote = closing_quote_map.find(token->literal);
    if (quote == closing_quote_map.end())
        return nullptr;
    const auto& [closing, alternative] = quote->second;
    for (Annotation* a = token->next; a; a = a->next) {
        if (a->type != annotation_token)
            continue;
        auto* candidate = static_cast<Token*>(a);
        if (candidate->literal == closing ||
            (!alternative.empty() && candidate->literal == alternative))
            return candidate;
    }
    return nullptr;
}

} // namespace dez::trelix

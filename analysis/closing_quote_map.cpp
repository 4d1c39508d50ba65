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

namespace {

Token* next_literal(const Token* token, const std::string& closing,
                    const std::string& alternative) {
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

} // namespace

Token* find_closing_quote(const Token* token) {
    if (!token)
        return nullptr;
    const auto quote = closing_quote_map.find(token->literal);
    if (quote == closing_quote_map.end())
        return nullptr;
    return next_literal(token, quote->second.first, quote->second.second);
}

Token* ClosingQuoteFinder::find(const Token* token) {
    if (!token)
        return nullptr;
    const auto quote = closing_quote_map.find(token->literal);
    if (quote == closing_quote_map.end())
        return nullptr;
    const auto& [closing, alternative] = quote->second;
    if (missing_.count(closing) && (alternative.empty() || missing_.count(alternative)))
        return nullptr;
    Token* found = next_literal(token, closing, alternative);
    if (!found) {
        missing_.insert(closing);
        if (!alternative.empty())
            missing_.insert(alternative);
    }
    return found;
}

} // namespace dez::trelix

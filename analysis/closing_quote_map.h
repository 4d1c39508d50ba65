#pragma once

#include <map>
#include <set>
#include <string>
#include <utility>

namespace dez::trelix {

class Token;

// Opening quote to {closing quote, alternative closing quote}; an empty
// alternative means none. Built at start-up, read-only afterwards.
extern const std::map<std::string, std::pair<std::string, std::string>> closing_quote_map;

// The literal is a key of closing_quote_map.
bool is_opening_quote(const Token* token);

// For an opening quote: the first later token of the same sentence whose
// literal is its closing quote or the alternative; otherwise null.
Token* find_closing_quote(const Token* token);

// find_closing_quote for opening quotes visited in text order. A closing
// literal missing after one token is missing after every later one, so it is
// looked for once, not once per unclosed quote. Cutting the list keeps that
// true; call forget() when the visited tokens move to a list that goes on
// further (a merge, another sentence).
class ClosingQuoteFinder {
public:
    Token* find(const Token* token);
    void forget() { missing_.clear(); }

private:
    std::set<std::string> missing_;
};

} // namespace dez::trelix

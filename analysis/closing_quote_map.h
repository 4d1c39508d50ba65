#pragma once

#include <map>
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

} // namespace dez::trelix

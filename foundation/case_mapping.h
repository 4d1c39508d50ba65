#pragma once

#include <string>

namespace dez::string {

// Word functions over UTF-8 text; invalid UTF-8 raises utfcpp's exceptions.

// Every code point through the simple lower-case mapping.
std::string to_lower(const std::string& s);
// Every code point through ToLowerCharTraits.
std::string lowercase_word(const std::string& s);
// Every code point through NormalizeToLowerCharTraits: lower case, no accents.
std::string normalize_word(const std::string& s);
// Every code point through NormalizeCharTraits: no accents, case kept.
std::string normalize_word_keep_case(const std::string& s);

// When word starts with an upper-case code point, out becomes the word with
// that code point lower-cased and true is answered; otherwise (an empty word
// included) false, with out unchanged.
bool lower_initial_cap_word(const std::string& word, std::string& out);

// Whether the first code point is lower-case; false for an empty text.
bool starts_with_lowercase(const std::string& s);

// The URI fragment of a name: accents stripped, each word capitalised,
// spaces and '-' dropped, '.' kept.
std::string make_uri(const std::string& s);

} // namespace dez::string

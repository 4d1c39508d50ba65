#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>

namespace dez::string {

// Code-point classes consulted by sentence splitting and tokenisation.
bool is_whitespace(uint32_t c);           // ICU white space, or U+00A0
bool withespace(uint32_t c);              // ICU u_isspace
bool no_withespace(uint32_t c);           // not u_isspace
bool visual_withespace(uint32_t c);       // ' ' and '\t'
bool is_nummber(uint32_t c);              // ICU u_isdigit
bool is_quote(uint32_t c);                // typographic quotes and U+00BB
bool closing_quoteations(uint32_t c);     // U+00BB, U+201D
bool inverted_sentence_begin(uint32_t c); // U+00A1, U+00BF
bool sentence_begin(uint32_t c);          // upper case, inverted marks, '-', U+2013, '#'

using CharacterClassTest = bool (*)(int32_t);
using CharacterClassTable = std::map<std::string_view, CharacterClassTest>;

// The named classes (":lower:", ":upper:", ...): built at load, read-only afterwards.
const CharacterClassTable& character_class_table();

// The (empty) special-character set literal classes are read with.
const std::set<char>& character_class_specials();

// Whether c belongs to cls: a named class ":name:" or a literal class
// ":#items#:" whose items are code points and ranges "a-z". Anything shorter
// than five bytes or not framed by ':' is false.
bool check_character_class(int32_t c, const std::string& cls);

} // namespace dez::string

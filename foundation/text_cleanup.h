#pragma once

#include "foundation/unicode_code_points.h"

#include <cstdint>
#include <map>
#include <set>
#include <string>

namespace dez::string {

// Typographic quotes, primes and the L with stroke, to their plain forms.
// Built while the library loads, read-only afterwards.
extern const std::map<uint32_t, uint32_t> dez_input_converter;

// normalize_word of entry. status becomes 1 when the first '-' or '_' stands
// between two spaces (the dashes are then cleaned), 2 when there is no '-' or
// '_' and the normalised text differs from entry; otherwise it is unchanged.
std::string cleanup_normalized_entry(const std::string& entry, int& status);

// Every code point of dez_input_converter replaced by its image.
std::string cleanup_input(const std::string& s);
// U+2018 and U+2019 to the apostrophe.
std::string cleanup_input_data(const std::string& s);

// Decode escapes (keeping those of specials), trim blank bytes (space and
// 0x00..0x0D) at both ends, collapse runs of spaces, decode once more.
void clean_and_trim(std::string& s, const std::set<char>& specials,
                    unicode::ErrorCode* record);

// Runs of two or more spaces become one.
void clean_multi_spaces(std::string& s);
// Each " - " becomes one space: "a - - b" gives "a b".
void clean_dashes(std::string& s);
// Drops every line feed and carriage return.
void cleanup_crlf(std::string& s);

} // namespace dez::string

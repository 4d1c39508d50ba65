#pragma once

namespace dez::trelix {

class Token;

// Shape properties of a new token: "init-cap" (first code point upper case,
// a later one not, or a single code point), "all-cap" (two or more code
// points, all upper case), "alphanum" (an ASCII letter and an ASCII digit),
// each with "nf". Malformed UTF-8 raises utfcpp's errors.
void add_properties(Token* token);

// Only the property set is asked, not the readings' tags.
bool all_caps(Token* token);
bool init_cap(Token* token);

} // namespace dez::trelix

#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace dez::trelix {

class Blackboard;
class Token;

// Byte positions of a literal onto byte offsets of the text it was read
// from, where the literal may differ from the text (NFKC, quotes and dashes
// mapped). Both sides are walked one character at a time, a character being
// a code point with the combining marks (U+0300..U+036F) that follow it, so
// that "e" + U+0301 in the text stands against U+00E9 in the literal. Entry i
// is the text offset matching literal position i at every character end;
// other entries stay 0. When the literal ends first its end maps to the end
// of the text. Sized for the longer of the two. Malformed UTF-8 raises
// utfcpp's errors.
std::vector<int32_t> map_literal_to_text(const std::string& literal, const char* text_begin,
                                         const char* text_end);

// The joined literals of prev, cur and next (prev and next may be null) onto
// offsets from the begin of the first of them in the document text.
// std::out_of_range when the tokens lie outside the text.
std::vector<int32_t> get_utf8_mapping_tbl(Blackboard& blackboard, const std::string& joined,
                                          Token* prev, Token* cur, Token* next);

} // namespace dez::trelix

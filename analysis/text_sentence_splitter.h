#pragma once

// The hand-written sentence splitter's helpers: its code-point predicates, the
// header-prefix expression, the two cut conditions and the sentence commit.
// Analyzer::text_to_annotations_v2 drives them (text_sentence_splitter.cpp).

#include <cstdint>
#include <string>
#include <utility>

#include "foundation/regex.h"

namespace dez::trelix {

class Blackboard;

// Environment limits, read once at load: the longest field name (bytes from
// the sentence start to its ':') and the longest value after it that still
// make a field line such as a mail header.
extern const int64_t max_field_size; // TRELIX_MAX_FIELD_SIZE, default 60
extern const int64_t max_value_size; // TRELIX_MAX_VALUE_SIZE, default 80

// "1.", "2a)", "iv.", "b)", "##" and the like: list and heading prefixes.
std::string get_header_prefix();
// get_header_prefix() compiled once at load; always matched over a whole span.
extern const dez::Regex header_prefix_pattern;

bool end_of_sentence(uint32_t ch);
bool end_of_sentence_QE(uint32_t ch);
bool end_of_sentence_crfl(uint32_t ch, bool newline);
bool is_ellipsis(uint32_t ch);
bool abbrev_allowed_abbrev(uint32_t ch);
bool abbrev_begin(uint32_t ch);
bool abbrev_end(uint32_t ch);
bool has_internet_sym(uint32_t ch);
bool has_dots(uint32_t ch);
bool is_bullet_point(uint32_t ch);
bool token_delimiter(uint32_t ch);
bool header_end(uint32_t ch);

// Whether the whitespace run starting at p holds a '\n'.
bool has_crlf_until_next_sentence_condition(const char* p, const char* end);

// After '!', '?', their inverted forms or an ellipsis: where the next sentence
// begins, or `end` for no cut. `previous` is the last mark, `cursor` the
// position after it, `next` the first non-whitespace position from there and
// `newline` whether a '\n' lies in between.
const char* sentence_begin_condition(const char* previous, const char* cursor, const char* next,
                                     const char* end, bool newline);

// After a period closing the word [token, token_end) (cursor just after that
// period): the cut position, or `end` for no cut.
const char* in_abbrev_sentence_begin_condition(const char* cursor, const char* token,
                                               const char* token_end, const char* next,
                                               const char* end, bool newline);

// Where a header line that starts at `from` ends: its line break, a period
// after its sixth code point, or the end of the text. {false, end} when none
// shows within 101 code points.
std::pair<bool, const char*> find_end_of_header(const char* from, const char* end);

// Commits [start, cut) as a sentence (trailing whitespace dropped when the cut
// is on whitespace) and tokenizes it; a sentence without tokens is dropped.
// Both positions then move past the whitespace after the cut. The positions
// lie in the document's own text, which begins at text_begin.
void create_sentence_obj(Blackboard& document, const char*& start, const char*& cut,
                         const char* text_begin, const char* text_end);

} // namespace dez::trelix

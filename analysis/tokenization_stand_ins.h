#pragma once

// Stand-ins for what morphology attachment needs of the tokenization work
// (token shape properties, markup, the header test, measurements, the
// apostrophe merge and split with their offset table). They follow the documented behaviour closely enough for the
// lookup tests; the tokenization and tagger work completes them: this file
// then goes, and its callers include those headers instead.

#include <cstdint>
#include <string>
#include <vector>

namespace dez::trelix {

class Annotation;
class AnnotationCollection;
class Blackboard;
class Sentence;
class Token;

// "init-cap" / "all-cap" and "alphanum", each with "nf".
void add_properties(Token* token);
bool all_caps(Token* token);
bool init_cap(Token* token);
// Appends the reading "Markup".
void add_markup_info(Token* token);
// A title line: short words, mostly capitalised.
bool is_header(Blackboard& blackboard, AnnotationCollection& list);
// Stand-in: settles nothing (the tokenization work decides units and
// multipliers).
void fix_measurements(Blackboard& blackboard, Sentence& sentence);
// A reading whose pos starts with "Punct".
bool is_punctuation(const Token* token);
// A token with a reading "Punct-Quote" or "Punct-Open".
bool is_open_quote(const Annotation* annotation);
// Byte positions of the joined literal of prev, cur and next to byte
// offsets from the begin of the first of them.
std::vector<int32_t> get_utf8_mapping_tbl(Blackboard& blackboard, const std::string& joined,
                                          Token* prev, Token* cur, Token* next);
// Merges prev and next into cur, which takes the literal.
void make_single_token(AnnotationCollection& list, const std::string& literal, Token* prev,
                       Token* cur, Token* next);
// Splits text at `split` (byte_split in the document) into the pair (prev,
// cur), else (cur, next).
void make_split_token(AnnotationCollection& list, const std::string& text, int split,
                      int byte_split, Token* prev, Token* cur, Token* next);

} // namespace dez::trelix

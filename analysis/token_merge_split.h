#pragma once

#include <string>

namespace dez::trelix {

class AnnotationCollection;
class Token;

// Merges prev and next (either may be null) into cur, which takes `literal`,
// loses its readings and gets apostrophe_join; prev's properties carry over.
// prev and next are unlinked from `list` and destroyed.
void make_single_token(AnnotationCollection& list, const std::string& literal, Token* prev,
                       Token* cur, Token* next);

// Splits `text` at byte `split` over the pair (prev, cur), or (cur, next)
// without prev, the second half beginning `byte_split` bytes after the
// first's begin in the document. With prev and next both given, next is
// absorbed into the second half and destroyed. Nothing happens without a
// neighbour; a split past the text raises std::out_of_range.
void make_split_token(AnnotationCollection& list, const std::string& text, int split,
                      int byte_split, Token* prev, Token* cur, Token* next);

} // namespace dez::trelix

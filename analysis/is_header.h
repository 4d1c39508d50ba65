#pragma once

namespace dez::trelix {

class AnnotationCollection;
class Blackboard;

// Whether one sentence's annotations read as a title line: header detection
// on, and either a first token that is a "Punct-Line" punctuation or a header
// prefix, or a capitalised first token, at most three short uncapitalised
// words, more capitalised than short, and no long uncapitalised word.
bool is_header(Blackboard& blackboard, AnnotationCollection& list);

// The same walk without the option, the first-token shortcut and the short
// count: a capitalised first token, no long uncapitalised word, at least one
// capitalised token.
bool is_header_new(AnnotationCollection& list);

} // namespace dez::trelix

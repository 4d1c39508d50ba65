#pragma once

namespace dez::trelix {

class Blackboard;
class Sentence;

// Joins or splits again the apostrophe tokens of the sentence (flag
// apostrophe_join) with the neighbours they touch, as the language's
// apostrophes expression says; nothing without that expression or when the
// sentence has no apostrophe token.
void fix_apostrophes(Blackboard& blackboard, Sentence& sentence);

} // namespace dez::trelix

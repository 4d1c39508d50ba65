#pragma once

namespace dez::trelix {

class Blackboard;
class Sentence;

// After the readings of a sentence are attached: every token that may be a
// unit or a multiplier ("5m", "$5m") keeps one kind of reading. After a
// currency sign it is a multiplier; otherwise its right neighbour (adjectives
// passed over) decides: a plural noun, unit or currency makes it a
// multiplier, a singular noun a unit of measure ("measure"), anything else
// or nothing a unit.
void fix_measurements(Blackboard& blackboard, Sentence& sentence);

} // namespace dez::trelix

#include "analysis/sentence_repair.h"

namespace dez::trelix {

// Stand-in until the sentence repair work lands: sentences stay as split.
void fix_sentences(Blackboard*) {}

} // namespace dez::trelix

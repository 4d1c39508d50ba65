#include "analysis/hmm_tagger.h"

namespace dez::trelix::core::hmm {

// Stand-ins until the HMM tagger work lands: no language has a tagger yet.
bool can_execute(Blackboard&) { return false; }
bool execute(Blackboard&) { return true; }

} // namespace dez::trelix::core::hmm

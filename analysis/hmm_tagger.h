#pragma once

namespace dez::trelix {
class Blackboard;
}

namespace dez::trelix::core::hmm {

// True when the language module of the document has emission probabilities.
bool can_execute(Blackboard& document);
// Tags every sentence of the document; always true.
bool execute(Blackboard& document);

} // namespace dez::trelix::core::hmm

#pragma once

namespace dez::trelix {

class Blackboard;

// Concepts whose uri begins with "$" live only while their domain runs: they
// get to_delete, leave the parent lists of the concepts inside them and their
// end markers, and end markers left empty are removed. The purge destroys
// them.
void remove_intermediate_concepts(Blackboard& blackboard);

} // namespace dez::trelix

#pragma once

namespace dez::trelix {

class Blackboard;

// Runs the rule-function calls queued on the document, ordered by the
// position of their concepts, and empties the queue. Calls queued while the
// queue runs are not run. A failure of a call passes through and leaves the
// queue as it was.
//
// Stand-in of the rule-matching work, which owns the action dispatch and
// completes the handlers this runs.
void apply_delayed_functions(Blackboard& document);

} // namespace dez::trelix

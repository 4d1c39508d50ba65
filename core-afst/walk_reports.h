#pragma once

namespace dez::afst {

// Log lines (runtime channel, warning level) of a walk that gave up part of
// its work, so that a lexicon answering less than it holds is never silent.

// A ranged walk spent its step budget.
void report_walk_step_limit(long steps);
// The whole-word walk met a cycle of arcs that consume nothing and keep
// adding output, and stopped going round it.
void report_walk_cycle_cut();

} // namespace dez::afst

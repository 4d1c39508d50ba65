#pragma once

#include "core-afst/walk_network.h"

#include <cstdint>

namespace dez::afst {

// Where a walk entry stands among its state's arcs. The character at the
// entry's position is read once, when the first arc that needs it comes up;
// from then on [key, key_end) are the state's keyed arcs for that character
// (positions in WalkNetwork::arcs).
template <class Position> struct ArcCursor {
    uint32_t arc = 0;     // stored position of the next arc
    uint32_t special = 0; // the next of the state's arcs that are not keyed
    uint32_t key = 0;
    uint32_t key_end = 0;
    bool read = false;
    bool has_next = false; // false at the end of the input
    uint32_t next = 0;     // the character at the entry's position
    Position after{};      // the position past it
};

// One entry of a walk: a state, the cursor over its arcs, the input position
// its arcs are matched from, and the output of the arc that led to it
// (no_output for the start entry). `state` -1 marks an entry without a state.
template <class Position, class Cursor = ArcCursor<Position>, class Output = const OutputText*>
struct StateItem {
    int state;
    Cursor arcs;
    Position pos;
    Output output;
};

} // namespace dez::afst

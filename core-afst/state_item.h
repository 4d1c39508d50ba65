#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace dez::afst {

// Where a walk entry stands among its node's arcs. The character at the
// entry's position is read once, when the first arc that needs it comes up;
// from then on [key, key_end) are the node's keyed arcs for that character.
template <class Position> struct ArcCursor {
    uint32_t arc = 0;   // stored position of the next arc
    uint32_t other = 0; // the next of the node's arcs that are not keyed
    uint32_t key = 0;
    uint32_t key_end = 0;
    uint32_t next = 0; // the character at the entry's position
    Position after{};  // the position past it
    bool read = false;
    bool has_next = false; // false at the end of the input
};

// One entry of a walk: a node (WalkNetwork::no_node for an arc into no
// state), the cursor over its arcs, the input position its arcs are matched
// from, and the output spelled up to it: the length of the walk's text
// buffer, and how far the whole-word spelling's cursor has gone into the
// word.
template <class Position> struct StateItem {
    uint32_t node;
    uint32_t text;
    uint32_t cursor;
    Position pos;
    ArcCursor<Position> arcs;
};

// What a walk works in: its stack and the output text of the entry on top.
// Kept by a lookup between calls so that a walk allocates little.
template <class Position> struct WalkScratch {
    std::vector<StateItem<Position>> stack;
    std::string text;
};

} // namespace dez::afst

#pragma once

#include "core-afst/walk_network.h"

namespace dez::afst {

// Where a walk takes its label texts from.

// The transducer's own symbol tables: a label a table does not hold reads as
// "" (an empty input text matches nothing, an empty output adds nothing).
struct DefauldSymbolTraits {
    static bool usable(const WalkArc&) { return true; }
};

// The AFst text vectors: an arc with a label beyond them is skipped.
struct AFSTDefauldSymbolTraits {
    static bool usable(const WalkArc& arc) { return arc.has(WalkArc::labels_in_texts); }
};

} // namespace dez::afst

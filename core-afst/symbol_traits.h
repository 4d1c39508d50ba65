#pragma once

namespace dez::afst {

// Where a walk takes its label texts from. `usable` is told whether both
// labels of an arc lie inside the AFst text vectors.

// The transducer's own symbol tables: a label a table does not hold reads as
// "" (an empty input text matches nothing, an empty output adds nothing).
struct DefauldSymbolTraits {
    static bool usable(bool) { return true; }
};

// The AFst text vectors: an arc with a label beyond them is skipped.
struct AFSTDefauldSymbolTraits {
    static bool usable(bool labels_inside) { return labels_inside; }
};

} // namespace dez::afst

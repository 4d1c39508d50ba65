#include "core-afst/builder.h"

#include "core-afst/builder_algorithms.h"
#include "core-afst/fst_error_capture.h"

#include <fst/determinize.h>
#include <fst/encode.h>
#include <fst/symbol-table.h>
#include <fst/vector-fst.h>

#include <algorithm>
#include <memory>
#include <string>

namespace dez::afst {

namespace detail {

using Arc = fst::StdArc;
using Network = fst::StdVectorFst;

std::size_t determinisation_limit(std::size_t input_states) {
    return std::max(Builder::max_expansion_states, 2 * input_states);
}

void refuse_determinisation(std::size_t limit) {
    Builder::refuse("determinisation exceeds the limit of " + std::to_string(limit) + " states.");
}

// Determinises `source` into `target` over encoded label pairs (see the class
// comment): an acceptor over pairs needs no functional input and keeps every
// path's labels. The subsequential label "EPS" never comes into play there.
// The states are taken one by one from OpenFst's delayed determinisation, in
// the order its own copy takes them, so that a result growing past the limit
// is refused before it takes the machine's memory.
void determinize_into(const fst::StdVectorFst& source, fst::StdVectorFst& target) {
    const auto limit = determinisation_limit(static_cast<std::size_t>(source.NumStates()));
    FstErrorCapture capture;
    fst::EncodeMapper<Arc> encoder(fst::kEncodeLabels, fst::ENCODE);
    Network encoded(source);
    fst::Encode(&encoded, &encoder);
    fst::DeterminizeFstOptions<Arc> options(fst::CacheOptions(true, 0), builder_delta, 1);
    const fst::DeterminizeFst<Arc> lazy(encoded, options);
    target.DeleteStates();
    for (fst::StateIterator<fst::DeterminizeFst<Arc>> it(lazy); !it.Done(); it.Next()) {
        const auto state = it.Value();
        if (static_cast<std::size_t>(state) >= limit)
            refuse_determinisation(limit);
        target.AddState();
        target.SetFinal(state, lazy.Final(state));
        target.ReserveArcs(state, lazy.NumArcs(state));
        for (fst::ArcIterator<fst::DeterminizeFst<Arc>> arc(lazy, state); !arc.Done(); arc.Next())
            target.AddArc(state, arc.Value());
    }
    target.SetStart(lazy.Start());
    capture.check(in_error(lazy) || in_error(encoded), "Determinize");
    fst::ArcMap(&target, fst::EncodeMapper<Arc>(encoder, fst::DECODE));
    capture.check(in_error(target), "Determinize");
}

} // namespace detail

void Builder::determinize() {
    if (detail::deterministic_over_pairs(*top->network)) {
        // Determinisation would only renumber the states: a single entry, or
        // a union of entries made minimal at once. A network that a caller
        // still holds is left to the caller, as a new one would be. The
        // tables are attached when the network is handed out (setProperties).
        if (top->network.use_count() > 1)
            top->network = std::make_shared<fst::StdVectorFst>(*top->network);
        return;
    }
    auto result = newNetwork();
    detail::determinize_into(*top->network, *result);
    result->SetInputSymbols(lower_table.get());
    result->SetOutputSymbols(upper_table.get());
    top->network = result;
}

} // namespace dez::afst

#include "core-afst/builder.h"

#include "core-afst/builder_algorithms.h"
#include "core-afst/fst_error_capture.h"

#include <fst/rmepsilon.h>
#include <fst/vector-fst.h>

namespace dez::afst {

namespace detail {
namespace {

bool has_epsilon_arc(const fst::StdVectorFst& network) {
    for (fst::StdArc::StateId state = 0; state < network.NumStates(); ++state)
        for (fst::ArcIterator<fst::StdVectorFst> it(network, state); !it.Done(); it.Next())
            if (it.Value().ilabel == 0 && it.Value().olabel == 0)
                return true;
    return false;
}

} // namespace

void remove_epsilon(fst::StdVectorFst& network) {
    // OpenFst's removal works through every state even when there is nothing
    // to remove, as in a lexicon.
    if (!has_epsilon_arc(network))
        return;
    FstErrorCapture capture;
    fst::RmEpsilon(&network, true, fst::TropicalWeight::Zero(), fst::kNoStateId, builder_delta);
    capture.check(in_error(network), "RmEpsilon");
}

} // namespace detail

void Builder::removeEpsilon() {
    detail::remove_epsilon(*top->network);
}

} // namespace dez::afst

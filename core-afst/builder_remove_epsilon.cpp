#include "core-afst/builder.h"

#include "core-afst/builder_algorithms.h"
#include "core-afst/fst_error_capture.h"

#include <fst/rmepsilon.h>
#include <fst/vector-fst.h>

namespace dez::afst {

namespace detail {

void remove_epsilon(fst::StdVectorFst& network) {
    FstErrorCapture capture;
    fst::RmEpsilon(&network, true, fst::TropicalWeight::Zero(), fst::kNoStateId, builder_delta);
    capture.check(in_error(network), "RmEpsilon");
}

} // namespace detail

void Builder::removeEpsilon() {
    detail::remove_epsilon(*top->network);
}

} // namespace dez::afst

#include "core-afst/builder.h"

#include "core-afst/builder_algorithms.h"
#include "core-afst/fst_error_capture.h"

#include <fst/encode.h>
#include <fst/minimize.h>
#include <fst/symbol-table.h>
#include <fst/vector-fst.h>

namespace dez::afst {

using Arc = fst::StdArc;
using Network = fst::StdVectorFst;
using detail::builder_delta;
using detail::FstErrorCapture;
using detail::in_error;

void Builder::minimize() {
    // In place, over encoded label pairs like determinize: OpenFst's
    // transducer minimisation would push output labels along the paths.
    Network& network = *top->network;
    // A lexicon is deterministic and acyclic: its equal suffixes are merged
    // in one bottom-up pass, much cheaper than the general minimisation.
    if (detail::deterministic_acyclic(network)) {
        detail::minimize_acyclic(network);
        return;
    }
    FstErrorCapture capture;
    fst::EncodeMapper<Arc> encoder(fst::kEncodeLabels, fst::ENCODE);
    fst::Encode(&network, &encoder);
    fst::Minimize(&network, static_cast<fst::MutableFst<Arc>*>(nullptr), builder_delta);
    fst::ArcMap(&network, fst::EncodeMapper<Arc>(encoder, fst::DECODE));
    capture.check(in_error(network), "Minimize");
    network.SetInputSymbols(encoder.InputSymbols());
    network.SetOutputSymbols(encoder.OutputSymbols());
}

} // namespace dez::afst

#include "core-afst/builder.h"

#include "core-afst/builder_algorithms.h"
#include "core-afst/fst_error_capture.h"

#include <fst/arcsort.h>
#include <fst/connect.h>
#include <fst/difference.h>
#include <fst/vector-fst.h>

namespace dez::afst {

using Arc = fst::StdArc;
using Network = fst::StdVectorFst;
using detail::FstErrorCapture;
using detail::in_error;
using detail::remove_epsilon;

void Builder::difference() {
    stack_item* group = top->parent;
    if (!group || group->children.size() != 2)
        return two_member_warning("difference");
    Network& first = *group->children[0]->network;
    Network& second = *group->children[1]->network;
    remove_epsilon(first);
    remove_epsilon(second);
    auto subtrahend = newNetwork();
    detail::determinize_into(second, *subtrahend);
    fst::ArcSort(subtrahend.get(), fst::ILabelCompare<Arc>());
    auto result = newNetwork();
    FstErrorCapture capture;
    *result = fst::DifferenceFst<Arc>(first, *subtrahend, detail::delayed_cache_options());
    fst::Connect(result.get());
    capture.check(in_error(*result), "Difference");
    push();
    top->network = result;
}

} // namespace dez::afst

#include "core-afst/builder.h"

#include "core-afst/builder_algorithms.h"
#include "core-afst/fst_error_capture.h"

#include <fst/arcsort.h>
#include <fst/connect.h>
#include <fst/intersect.h>
#include <fst/vector-fst.h>

namespace dez::afst {

using Arc = fst::StdArc;
using Network = fst::StdVectorFst;
using detail::FstErrorCapture;
using detail::in_error;
using detail::remove_epsilon;

namespace {

// The delayed operations expand at once; OpenFst's cache flag decides
// whether they collect their cache on the way.
fst::CacheOptions cache_options() {
    return fst::CacheOptions(FLAGS_fst_default_cache_gc, 0);
}

} // namespace

void Builder::intersect() {
    stack_item* group = top->parent;
    if (!group || group->children.size() != 2)
        return two_member_warning("intersect");
    Network& first = *group->children[0]->network;
    Network& second = *group->children[1]->network;
    fst::ArcSort(&second, fst::ILabelCompare<Arc>());
    // Kept like compose's result: a third member, top unmoved.
    auto result = newNetwork();
    FstErrorCapture capture;
    *result = fst::IntersectFst<Arc>(first, second, cache_options());
    fst::Connect(result.get());
    capture.check(in_error(*result), "Intersect");
    push(group)->network = result;
}

} // namespace dez::afst

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
    *result = fst::IntersectFst<Arc>(first, second, detail::delayed_cache_options());
    fst::Connect(result.get());
    capture.check(in_error(*result), "Intersect");
    push(group)->network = result;
}

} // namespace dez::afst

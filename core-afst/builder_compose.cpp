#include "core-afst/builder.h"

#include "core-afst/builder_algorithms.h"
#include "core-afst/fst_error_capture.h"

#include <fst/arcsort.h>
#include <fst/compose.h>
#include <fst/connect.h>
#include <fst/vector-fst.h>

namespace dez::afst {

namespace detail {

fst::CacheOptions delayed_cache_options() {
    return fst::CacheOptions(FLAGS_fst_default_cache_gc, 0);
}

} // namespace detail

using Arc = fst::StdArc;
using Network = fst::StdVectorFst;
using detail::FstErrorCapture;
using detail::in_error;
using detail::remove_epsilon;

void Builder::compose() {
    stack_item* group = top->parent;
    if (!group || group->children.size() != 2)
        return two_member_warning("compose");
    Network& first = *group->children[0]->network;
    Network& second = *group->children[1]->network;
    remove_epsilon(first);
    remove_epsilon(second);
    // Composition needs one side sorted on the labels it matches.
    fst::ArcSort(&second, fst::ILabelCompare<Arc>());
    // The tree changes only once the result is sound.
    auto result = newNetwork();
    FstErrorCapture capture;
    *result = fst::ComposeFst<Arc>(first, second, detail::delayed_cache_options());
    fst::Connect(result.get());
    capture.check(in_error(*result), "Compose");
    push(group)->network = result;
}

} // namespace dez::afst

#include "core-afst/builder.h"

#include "core-afst/builder_algorithms.h"
#include "core-afst/fst_error_capture.h"

#include <fst/replace.h>
#include <fst/symbol-table.h>
#include <fst/vector-fst.h>

namespace dez::afst {

using Arc = fst::StdArc;
using Network = fst::StdVectorFst;
using detail::FstErrorCapture;
using detail::in_error;
using detail::remove_epsilon;

void Builder::replace(const std::string& label) {
    stack_item* group = top->parent;
    if (!group || group->children.size() != 2)
        return two_member_warning("replace");
    Network& first = *group->children[0]->network;
    Network& second = *group->children[1]->network;
    remove_epsilon(first);
    remove_epsilon(second);
    const auto key = static_cast<Arc::Label>(lower_table->Find(label));
    const Network root(first);
    const Network inserted(second);
    const std::vector<std::pair<Arc::Label, const fst::Fst<Arc>*>> networks = {{1, &root},
                                                                               {key, &inserted}};
    auto result = newNetwork();
    FstErrorCapture capture;
    fst::Replace(networks, result.get(), 1, true);
    capture.check(in_error(*result), "Replace");
    top = push(group);
    top->network = result;
}

} // namespace dez::afst

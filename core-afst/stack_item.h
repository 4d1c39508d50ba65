#pragma once

#include <fst/fst-decl.h>

#include <memory>
#include <string>
#include <vector>

namespace dez::afst {

// One node of the builder's item tree. It owns the network under construction
// for one rule, group member or continuation; its children are the members of
// the group it encloses (the rules, for a root).
struct stack_item {
    std::shared_ptr<fst::StdVectorFst> network;
    std::vector<std::shared_ptr<stack_item>> children;
    stack_item* parent = nullptr;
    // How the children combine: "" (a plain sequence), "union",
    // "unordered:adjacent", "unordered:shortest" or "unordered:longest".
    std::string separator_type;
    // A continuation that collects the arcs after a closed group.
    bool concat_group = false;
};

} // namespace dez::afst

#include "discourse/short_term_store.h"

namespace dez::trelix::instances::short_term {

// The instances work makes the store here, from the option "instances"
// (default "Person"); until then documents get none, as when the option
// names no concept.
std::shared_ptr<IStore> create_store(Blackboard& /*document*/) {
    return nullptr;
}

} // namespace dez::trelix::instances::short_term

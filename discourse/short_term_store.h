#pragma once

#include <memory>

namespace dez::trelix {

class Blackboard;

namespace instances {

class IStore;

namespace short_term {

// The document's own instance store, or null when the document names no
// concept to link.
std::shared_ptr<IStore> create_store(Blackboard& document);

} // namespace short_term
} // namespace instances
} // namespace dez::trelix

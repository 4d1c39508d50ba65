#pragma once

#include <memory>

#include "document/add_concept_to_collection.h"

namespace dez::trelix {

class Blackboard;

// The document's concept inserter; the profiling one when the document has a
// profiler.
std::shared_ptr<AddConceptToCollection> create_collector(Blackboard& blackboard);

} // namespace dez::trelix

#include "document/create_collector.h"

#include "document/add_concept_to_collection_profiler.h"
#include "document/blackboard.h"

namespace dez::trelix {

std::shared_ptr<AddConceptToCollection> create_collector(Blackboard& blackboard) {
    if (blackboard.profiler)
        return std::make_shared<AddConceptToCollectionProfiler>(blackboard);
    return std::make_shared<AddConceptToCollection>(blackboard);
}

} // namespace dez::trelix

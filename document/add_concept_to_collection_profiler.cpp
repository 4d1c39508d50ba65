#include "document/add_concept_to_collection_profiler.h"

#include "document/blackboard.h"
#include "document/profiler_interface.h"

namespace dez::trelix {

Concept* AddConceptToCollectionProfiler::operator()(RawPtrIterator begin, RawPtrIterator end,
                                                    const std::string& uri,
                                                    const std::string& attributes,
                                                    Concept* parent, const std::string& rule_id) {
    Concept* result =
        AddConceptToCollection::operator()(begin, end, uri, attributes, parent, rule_id);
    if (result)
        if (profiler::ProfilerInterface* profiler = blackboard.profiling())
            profiler->hit(rule_id, result);
    return result;
}

} // namespace dez::trelix

#pragma once

#include "document/add_concept_to_collection.h"

namespace dez::trelix {

// The inserter of a document with a profiler: every concept added or updated
// counts as a hit of its rule.
class AddConceptToCollectionProfiler : public AddConceptToCollection {
public:
    using AddConceptToCollection::AddConceptToCollection;
    using AddConceptToCollection::operator();

    Concept* operator()(RawPtrIterator begin, RawPtrIterator end, const std::string& uri,
                        const std::string& attributes, Concept* parent,
                        const std::string& rule_id) override;
};

} // namespace dez::trelix

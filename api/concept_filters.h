#pragma once

#include "document/filter_concept_interface.h"

namespace dez::trelix::v2 {

// The concept filters of the result writer, chosen by "annotation_filter".

// "__debug__": writes every concept.
class FilterNothing : public FilterConceptInterface {
public:
    bool operator()(const Concept& concept_) const override;
};

// The default: only imported concepts that are not deleted and whose uri does
// not start with '$' or ':'.
class ImportOnlyFilter : public FilterConceptInterface {
public:
    bool operator()(const Concept& concept_) const override;
};

// "__compiler__", the view of the rule tests: leaves out deleted concepts
// (but those whose uri starts with "tlx::filter") and concepts neither
// deleted nor imported whose uri starts with '$' or ':'.
class QrcFilter : public FilterConceptInterface {
public:
    bool operator()(const Concept& concept_) const override;
};

} // namespace dez::trelix::v2

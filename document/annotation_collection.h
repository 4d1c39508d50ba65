#pragma once

#include "document/annotation.h"

namespace dez::trelix {

// An annotation list that owns its elements: the document's sentences, and
// each sentence's own annotations. Destroying it unlinks and destroys the
// elements first to last.
class AnnotationCollection : public qvr::common::RawPtrList<Annotation> {
public:
    AnnotationCollection() = default;
    AnnotationCollection(AnnotationCollection&&) = default;
    ~AnnotationCollection();

    // Unlinks and destroys every element, first to last.
    void clear();
};

} // namespace dez::trelix

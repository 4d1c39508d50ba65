#include "document/end_annotation.h"

#include <algorithm>

#include "document/concept.h"

namespace dez::trelix {

EndAnnotation::~EndAnnotation() {
    for (Annotation* a : concepts) {
        if (a && a->type == annotation_concept) {
            auto* c = static_cast<Concept*>(a);
            if (c->end_annotation == this)
                c->end_annotation = nullptr;
        }
    }
}

void EndAnnotation::add(Concept* c) {
    // Offsets are unsigned: a signed comparison would misplace concepts that
    // begin past 2^31.
    auto position = std::partition_point(concepts.begin(), concepts.end(),
                                         [&](const Annotation* a) { return a->begin > c->begin; });
    concepts.insert(position, c);
}

} // namespace dez::trelix

#pragma once

#include <cstdint>
#include <vector>

#include "document/annotation.h"

namespace dez::trelix {

class Concept;

// Kind 4: stands after the last annotation covered by the concepts that end
// at its offset. The concepts live in the same sentence list; not owned.
class EndAnnotation : public Annotation {
public:
    explicit EndAnnotation(uint32_t offset) : Annotation(annotation_end, offset, offset) {}
    // Concepts still pointing here lose their end marker.
    ~EndAnnotation() override;

    // Keeps `concepts` ordered by begin, greatest first; a concept goes before
    // those with the same begin. No duplicate check.
    void add(Concept* c);

    std::vector<Annotation*> concepts;
};

} // namespace dez::trelix

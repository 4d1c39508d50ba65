#pragma once

#include <cstdint>
#include <set>

#include "document/annotation.h"
#include "document/annotation_collection.h"

namespace dez::trelix {

// Kind 1. Owns its annotations: a "Sentence" concept first, then tokens,
// concepts and end markers in text order, then the sentence concept's end
// marker and an end-of-stream marker.
class Sentence : public Annotation {
public:
    Sentence(uint32_t begin, uint32_t end) : Annotation(annotation_sentence, begin, end) {}
    ~Sentence() override;

    AnnotationCollection annotations;
    // Token ids carry bit 0x10000000, concept ids bit 0x20000000.
    std::set<uint32_t> encoded_ids;
    bool changed = true;
    // Bit 0: a token for the apostrophe repair; bit 1: a measurement.
    uint64_t sentence_flags = 0;
};

} // namespace dez::trelix

#pragma once

#include <cstdint>

#include "annotation.h"

namespace qvr::common {

// A sentence of a parsed result. It owns the tokens and concepts in its
// list and destroys them with itself.
class Sentence : public Annotation {
public:
    Sentence(uint32_t from, uint32_t to) : Annotation(sentence_type, from, to) {}
    ~Sentence() override {
        while (Annotation* annotation = annotations.head) {
            annotations.unlink(annotation);
            delete annotation;
        }
    }

    // Tokens and concepts in document order.
    RawPtrList<Annotation> annotations;
};

} // namespace qvr::common

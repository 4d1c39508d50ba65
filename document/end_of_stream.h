#pragma once

#include "document/annotation.h"

namespace dez::trelix {

// Kind 5: closes a sentence list at the sentence's end offset.
class EndOfStream : public Annotation {
public:
    explicit EndOfStream(uint32_t offset) : Annotation(annotation_end_of_stream, offset, offset) {}
};

} // namespace dez::trelix

#pragma once

#include <cstdint>

#include "document/is_encodable.h"
#include "document/raw_ptr_list.h"

namespace dez::trelix {

// Annotation kinds; the numbers are part of the result formats and the plugin
// interface.
constexpr int32_t annotation_sentence = 1;
constexpr int32_t annotation_concept = 2;
constexpr int32_t annotation_token = 3;
constexpr int32_t annotation_end = 4;
constexpr int32_t annotation_end_of_stream = 5;

// One element of a sentence list (or of the document's sentence list).
// Offsets are code-point offsets into the document text; `end` is just past
// the last character, so adjacent tokens share an offset.
class Annotation : public IIsEncodable, public qvr::common::BaseHook<Annotation> {
public:
    Annotation(int32_t type, uint32_t begin, uint32_t end) : type(type), begin(begin), end(end) {}
    // An annotation lives in one list at a time; a copy would carry its links.
    Annotation(const Annotation&) = delete;
    Annotation& operator=(const Annotation&) = delete;
    ~Annotation() override = default;

    int32_t type;
    uint32_t begin;
    uint32_t end;
};

using RawPtrIterator = qvr::common::RawPtrList<Annotation>::RawPtrIterator;

} // namespace dez::trelix

#pragma once

#include "document/annotation_collection.h"
#include "document/annotation_stream_info.h"
#include "foundation/text_stream_type.h"

namespace dez::trelix {

// The document as the flat text of one stream, with its offset maps; an
// empty result for a type outside the seven streams. Malformed UTF-8 (but an
// invalid code point, which only cuts its word short) raises utfcpp's errors.
// The separators and the case folding are those the compiler uses for the
// lexicons matched against the text.
annotation_stream_info get_annotation_buffer(const AnnotationCollection& collection,
                                             const dez::text_stream_type& type);

} // namespace dez::trelix

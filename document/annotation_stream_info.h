#pragma once

#include <cstdint>
#include <vector>

#include "document/sorted_offset_map.h"

namespace dez::trelix {

// One text stream of a document as one flat text, each word followed by a
// separator, with the maps that carry positions in the text back to the
// character offsets of the annotations the words came from.
struct annotation_stream_info {
    // A dez::text_stream_type, set by the caller that keeps one per stream.
    uint32_t stream_type = 0;
    // Begin offset of a token or concept -> byte index where its text starts.
    SortedOffsetMap<int32_t, uint64_t, false> begin_map;
    // Byte index just after its text -> its end offset.
    SortedOffsetMap<uint64_t, uint64_t, true> end_map;
    // UTF-8, no terminating zero byte.
    std::vector<char> buffer;
};

} // namespace dez::trelix

#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace dez::trelix {
class Blackboard;
}

namespace dez::trelix::v2 {

// Turns a stored (byte) offset into the offset the result shows.
using OffsetMapper = std::function<uint32_t(uint32_t)>;

// Byte offsets as stored.
struct Utf8Mapper {
    uint32_t operator()(uint32_t offset) const { return offset; }
};

// Code points before the byte offset, from the document's offset table. An
// offset past the table counts every code point of the text.
struct UnicodeMapper {
    explicit UnicodeMapper(const std::vector<uint32_t>& table) : table(table) {}
    uint32_t operator()(uint32_t offset) const;

    const std::vector<uint32_t>& table;
};

// Code points when "input_type" is absent, empty or "text" and
// "unicode_offset" reads true and the document has an offset table; bytes
// otherwise (also for a text document without a table).
OffsetMapper make_offset_mapper(Blackboard& document);

} // namespace dez::trelix::v2

#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace dez::trelix {

// Positions of one document text counted three ways. Each vector has one
// entry per text byte plus one; entries not written stay 0.
struct OffsetTable {
    // Code point number to the byte offset where it starts; the entry at the
    // number of code points holds the text's byte length.
    std::vector<uint32_t> unicode_to_utf8;
    // Byte offset to the number of code points before it, at code point
    // boundaries only.
    std::vector<uint32_t> utf8_to_unicode;
    // UTF-16 position to the byte offset of the code point starting there.
    std::vector<uint32_t> utf16_to_utf8;
};

// Malformed UTF-8 raises utfcpp's errors.
std::shared_ptr<OffsetTable> generate_offset_mappings(const char* text, int length);

// The byte offset of a code point offset: the text's byte length for an
// offset past the last character, an index outside the table unchanged.
uint32_t from_unicode_2_utf8_offset(const OffsetTable* table, const uint32_t& index);

} // namespace dez::trelix

#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include <unicode/uversion.h>

U_NAMESPACE_BEGIN
class UnicodeString;
U_NAMESPACE_END

namespace dez::trelix {

// UTF-16 positions of one span onto byte offsets from the span's start. One
// entry per span byte plus one; the entry inside a surrogate pair stays 0.
struct OffsetTable16 {
    std::vector<uint32_t> utf16_to_utf8;
};

// `out` receives the span as UTF-16. Malformed UTF-8 raises utfcpp's errors.
std::shared_ptr<OffsetTable16> get_offset_mapping_table(const char* begin, const char* end,
                                                        icu::UnicodeString& out);

// The same into a table and string kept from an earlier span, so that their
// storage is reused.
void fill_offset_mapping_table(const char* begin, const char* end, icu::UnicodeString& out,
                               OffsetTable16& table);

} // namespace dez::trelix

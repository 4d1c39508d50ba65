#include "analysis/offset_table16.h"

#include <climits>
#include <new>
#include <stdexcept>
#include <string>

#include <unicode/unistr.h>
#include <unicode/utf16.h>
#include <utf8.h>

namespace dez::trelix {

std::shared_ptr<OffsetTable16> get_offset_mapping_table(const char* begin, const char* end,
                                                        icu::UnicodeString& out) {
    auto table = std::make_shared<OffsetTable16>();
    fill_offset_mapping_table(begin, end, out, *table);
    return table;
}

void fill_offset_mapping_table(const char* begin, const char* end, icu::UnicodeString& out,
                               OffsetTable16& table) {
    const std::size_t bytes = begin < end ? static_cast<std::size_t>(end - begin) : 0;
    table.utf16_to_utf8.assign(bytes + 1, 0);
    out.remove();
    if (bytes >= static_cast<std::size_t>(INT32_MAX))
        throw std::length_error("Text too long for a UTF-16 string: " + std::to_string(bytes) +
                                " bytes.");
    // Written in place: a text never has more UTF-16 units than UTF-8 bytes.
    UChar* units = out.getBuffer(static_cast<int32_t>(bytes) + 1);
    if (!units)
        throw std::bad_alloc();
    int32_t length = 0;
    const char* at = begin;
    try {
        while (at < end) {
            const auto byte = static_cast<unsigned char>(*at);
            if (byte < 0x80) {
                units[length++] = byte;
                ++at;
            } else {
                const uint32_t c = utf8::next(at, end);
                U16_APPEND_UNSAFE(units, length, c);
            }
            table.utf16_to_utf8[static_cast<std::size_t>(length)] =
                static_cast<uint32_t>(at - begin);
        }
    } catch (...) {
        out.releaseBuffer(length);
        throw;
    }
    out.releaseBuffer(length);
}

} // namespace dez::trelix

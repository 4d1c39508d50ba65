#include "analysis/offset_table.h"

#include <algorithm>

#include <utf8.h>

namespace dez::trelix {

std::shared_ptr<OffsetTable> generate_offset_mappings(const char* text, int length) {
    const std::size_t size = static_cast<std::size_t>(std::max(length, 0));
    auto table = std::make_shared<OffsetTable>();
    table->unicode_to_utf8.assign(size + 1, 0);
    table->utf8_to_unicode.assign(size + 1, 0);
    table->utf16_to_utf8.assign(size + 1, 0);
    uint32_t code_points = 0;
    std::size_t units = 0;
    const char* end = text + size;
    const char* at = text;
    // Each index stays within the tables: no more units or code points than
    // bytes read so far.
    for (;;) {
        const auto byte = static_cast<uint32_t>(at - text);
        table->utf16_to_utf8[units] = byte;
        if (at == end)
            break;
        uint32_t c = static_cast<unsigned char>(*at);
        if (c < 0x80)
            ++at;
        else
            c = utf8::next(at, end);
        const auto past = static_cast<uint32_t>(at - text);
        units += c > 0xFFFF ? 2 : 1;
        ++code_points;
        table->unicode_to_utf8[code_points] = past;
        table->utf8_to_unicode[past] = code_points;
    }
    return table;
}

uint32_t from_unicode_2_utf8_offset(const OffsetTable* table, const uint32_t& index) {
    if (!table || index >= table->unicode_to_utf8.size())
        return index;
    const uint32_t byte = table->unicode_to_utf8[index];
    // Entries past the last character stay 0 (the table has a slot per byte,
    // not per character); every character after the first starts above 0.
    if (index > 0 && byte == 0)
        return static_cast<uint32_t>(table->unicode_to_utf8.size() - 1);
    return byte;
}

} // namespace dez::trelix

#include "analysis/offset_table16.h"

#include <unicode/unistr.h>
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
    const char* at = begin;
    while (at < end) {
        const uint32_t c = utf8::next(at, end);
        out.append(static_cast<UChar32>(c));
        table.utf16_to_utf8[static_cast<std::size_t>(out.length())] =
            static_cast<uint32_t>(at - begin);
    }
}

} // namespace dez::trelix

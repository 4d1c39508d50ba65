#include "api/offset_mappers.h"

#include <string>

#include "analysis/offset_table.h"
#include "document/blackboard.h"

namespace dez::trelix::v2 {

uint32_t UnicodeMapper::operator()(uint32_t offset) const {
    if (table.empty())
        return offset;
    if (offset >= table.size())
        return table.back();
    return table[offset];
}

OffsetMapper make_offset_mapper(Blackboard& document) {
    const std::string input_type = document.option_anywhere->get("input_type");
    const bool text_input = input_type.empty() || input_type == "text";
    if (text_input && document.option_anywhere->get_bool("unicode_offset", false) &&
        document.offset_table)
        return UnicodeMapper(document.offset_table->utf8_to_unicode);
    return Utf8Mapper();
}

} // namespace dez::trelix::v2

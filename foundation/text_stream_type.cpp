#include "foundation/text_stream_type.h"

#include "foundation/string_utils.h"

namespace dez {

namespace {

// Built on first use, so callers during load never see it unconstructed.
const std::map<std::string, text_stream_type>& stream_table() {
    static const std::map<std::string, text_stream_type> table = {
        {"literal", literal},
        {"stem", stem},
        {"normalized_literal", normalized_literal},
        {"normalized_stem", normalized_stem},
        {"component", component},
        {"head", head},
        {"canonical", canonical},
    };
    return table;
}

constexpr auto no_stream = static_cast<text_stream_type>(7);

} // namespace

const std::map<std::string, text_stream_type>& stream_types = stream_table();

const std::string& get_stream_name(const text_stream_type& type) {
    const auto& table = stream_table();
    for (const auto& [name, value] : table)
        if (value == type)
            return name;
    return table.find("literal")->first;
}

text_stream_type get_stream_type(const std::string& name) {
    const auto& table = stream_table();
    const auto found = table.find(name.size() > 2 ? dez::string::strip_quotes(name) : name);
    return found == table.end() ? no_stream : found->second;
}

} // namespace dez

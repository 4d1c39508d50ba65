#include "analysis/option_collection.h"

#include "foundation/string_utils.h"

namespace dez::args {

void parse_option_collection(std::set<std::string>& out,
                             const std::shared_ptr<dez::IOptions>& options, const std::string& key,
                             std::string default_value) {
    const std::string value =
        options && options->has(key.c_str()) ? options->get(key.c_str()) : default_value;
    if (!value.empty())
        dez::string::split_set(out, value, ',');
}

} // namespace dez::args

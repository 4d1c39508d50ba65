#include "analysis/lookup_type.h"

#include <algorithm>

#include <nlohmann/json.hpp>

#include "core-afst/lookup_interface.h"

namespace dez::trelix::core {

int64_t get_lookup_type(const std::string& name) {
    // The type numbers are the names' indexes.
    const std::vector<std::string>& names = dez::afst::lookup_mode_names();
    const auto it = std::find(names.begin(), names.end(), name);
    return it == names.end() ? int64_t{dez::afst::lookup_not_set} : it - names.begin();
}

std::string get_lookup_type_name(const nlohmann::json& entry) {
    if (!entry.is_object() || !entry.contains("lookup"))
        return "not_set";
    return entry.at("lookup").get<std::string>();
}

} // namespace dez::trelix::core

#pragma once

#include <map>
#include <string>

#include <nlohmann/json.hpp>

namespace qvr::common {

// The options JSON the C interface reads: one string member per entry, in
// the map's key order, compact, non-ASCII characters left as they are. A key
// or value that is not valid UTF-8 raises the JSON library's type error
// rather than making a text the library would refuse less clearly.
inline std::string options_to_string(const std::map<std::string, std::string>& options) {
    nlohmann::json object = nlohmann::json::object();
    for (const auto& [key, value] : options)
        object[key] = value;
    return object.dump();
}

} // namespace qvr::common

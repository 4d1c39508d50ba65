#pragma once

#include <cstdint>
#include <string>

#include <nlohmann/json_fwd.hpp>

namespace dez::trelix::core {

// The code of a chain entry's "lookup" name ("plain" 1 ... "icu" 10); 0, a
// plain word lookup, for "not_set" and for any name the table does not hold.
int64_t get_lookup_type(const std::string& name);

// The entry's "lookup" (a JSON string), "not_set" when the entry is no
// object or has none.
std::string get_lookup_type_name(const nlohmann::json& entry);

} // namespace dez::trelix::core

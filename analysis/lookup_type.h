#pragma once

#include <cstdint>
#include <string>

namespace dez::trelix::core {

// The code of a chain entry's "lookup" name ("plain" 1 ... "icu" 10); 0, a
// plain word lookup, for "not_set" and for any name the table does not hold.
int64_t get_lookup_type(const std::string& name);

} // namespace dez::trelix::core

#pragma once

#include <cstdint>
#include <string>

namespace dez::trelix {

// The last write time of a path (links followed) in whole seconds since the
// epoch; -1 when the path does not exist. Cached language data, transducers
// and domains are reloaded when this grows.
int64_t write_time_in_seconds(const std::string& path);

} // namespace dez::trelix

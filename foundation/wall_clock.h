#pragma once

#include <cstdint>

namespace dez::system {

// Wall-clock time in whole seconds since the Unix epoch: the unit of the
// last-access stamps that purges compare.
int64_t seconds_since_epoch();

} // namespace dez::system

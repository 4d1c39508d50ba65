#include "foundation/wall_clock.h"

#include <chrono>

namespace dez::system {

int64_t seconds_since_epoch() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

} // namespace dez::system

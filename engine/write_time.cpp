#include "engine/write_time.h"

#include <sys/stat.h>

namespace dez::trelix {

int64_t write_time_in_seconds(const std::string& path) {
    // stat gives the epoch seconds directly; the filesystem clock of C++17 has
    // no exact conversion to the system clock.
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return -1;
    return static_cast<int64_t>(status.st_mtime);
}

} // namespace dez::trelix

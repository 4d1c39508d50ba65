#include "foundation/environment.h"

#include <climits>
#include <cstdlib>

namespace dez::system {

std::string get_environment(const std::string& name, std::string default_value) {
    const char* value = std::getenv(name.c_str());
    return value ? std::string(value) : default_value;
}

int get_environment_int(const std::string& name, int default_value) {
    const char* value = std::getenv(name.c_str());
    if (!value)
        return default_value;
    long long parsed = std::strtoll(value, nullptr, 10);
    if (parsed > INT_MAX)
        return INT_MAX;
    if (parsed < INT_MIN)
        return INT_MIN;
    return static_cast<int>(parsed);
}

} // namespace dez::system

#pragma once

#include <stdexcept>
#include <string>

// The failures the wrapper classes raise. They sit down here because the
// plugin protocol turns a plugin's error codes 1 and 5 into them, and the
// engine below the wrapper classes raises them while it loads plugins.
namespace qvr::common {

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
};

class JsonException : public Exception {
public:
    explicit JsonException(const std::string& message) : Exception(message) {}
};

} // namespace qvr::common

#pragma once

#include <stdexcept>
#include <string>

// The exceptions of the wrapper classes. They sit this low because plugin
// calls and plugin loading raise them too, for the error codes 1 and 5 a
// plugin reports; the wrapper classes include this header rather than define
// their own.
namespace qvr::common {

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
};

// Its message is JSON text.
class JsonException : public Exception {
public:
    explicit JsonException(const std::string& message) : Exception(message) {}
};

} // namespace qvr::common

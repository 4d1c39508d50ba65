#pragma once

#include <sstream>
#include <stdexcept>
#include <string>

namespace dez {

// The library's general failure. Messages are assembled in a string stream.
class Exception : public std::runtime_error {
public:
    explicit Exception(const std::ostringstream& message) : std::runtime_error(message.str()) {}
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
};

// A failure whose message is itself JSON text a host can parse. Derives from
// Exception, so catch it before Exception.
class JSONThrowException : public Exception {
public:
    explicit JSONThrowException(const std::string& json_message) : Exception(json_message) {}
};

// An unrecoverable failure. Deliberately not a dez::Exception.
class FatalException : public std::runtime_error {
public:
    explicit FatalException(const std::ostringstream& message)
        : std::runtime_error(message.str()) {}
    explicit FatalException(const std::string& message) : std::runtime_error(message) {}
};

} // namespace dez

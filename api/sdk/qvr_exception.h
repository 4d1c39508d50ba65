#pragma once

#include <stdexcept>
#include <string>

// The failures the wrapper classes raise for the error codes 1 and 5 of the
// C interface.
//
// The library itself defines them in foundation/qvr_exception.h, which
// hosts do not see. The block below must stay identical to the one there (a
// test compares them); whichever header a unit includes first defines the
// classes.
#ifndef QVR_COMMON_EXCEPTION_DEFINITIONS
#define QVR_COMMON_EXCEPTION_DEFINITIONS
namespace qvr::common {

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
};

// Its message is a JSON object text.
class JsonException : public Exception {
public:
    explicit JsonException(const std::string& message) : Exception(message) {}
};

} // namespace qvr::common
#endif // QVR_COMMON_EXCEPTION_DEFINITIONS

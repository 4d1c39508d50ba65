#pragma once

#include <stdexcept>
#include <string>

// An error that OpenFst reported while the builder worked on a network. Its
// text is OpenFst's own log line with the level word "FATAL". Deliberately not
// a dez::Exception.
class AFSTException : public std::runtime_error {
public:
    explicit AFSTException(const std::string& message) : std::runtime_error(message) {}
};

namespace dez::afst {
using ::AFSTException;
} // namespace dez::afst

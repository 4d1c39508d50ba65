#pragma once

#include <string>

#include "foundation/dez_exception.h"

namespace dez::trelix::plugins {

// The record's message up to its first NUL byte, or all 1024 bytes when a
// plugin left it unterminated.
std::string plugin_error_message(const dez_exception& record);

// Raises what the record's code stands for, with its message: 1
// qvr::common::Exception, 2 and 3 std::runtime_error, 4 std::logic_error, 5
// qvr::common::JsonException. Any other code raises nothing.
void raise_plugin_error(const dez_exception& record);

} // namespace dez::trelix::plugins

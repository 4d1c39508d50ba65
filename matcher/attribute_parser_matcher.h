#pragma once

#include <string>

#include "document/attributes.h"

namespace dez::trelix {

// Reads the attribute conditions of a rule label ("@name="value";name=/re/").
// Every value is delimited, and the opening delimiter stays at the front of
// the value it yields ('"' a literal, '/' a regular expression); a
// triple-quoted value carries no marker. White space between the parts is
// skipped. Faults are reported as by parse_attributes; a backslash inside a
// "..." value that is not followed by '"' raises a std::runtime_error.
Attributes parse_attributes_matcher(const std::string& text);

} // namespace dez::trelix

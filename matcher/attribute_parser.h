#pragma once

#include <string>

#include "document/attributes.h"

namespace dez::trelix {

// Reads the attribute text of a rule ("@name=value;name=value") into pairs,
// in input order. Values may be quoted ("..."), triple-quoted, formatted
// (f"..." or f"""...""", kept as AttributeFormatValue for later resolution)
// or bare. An empty text gives an empty list. A text that does not parse to
// its end is reported ("ERROR:[text]" on standard output and an error on the
// runtime log channel) and the pairs read before the fault are returned.
// A formatted value without its quoted text raises a std::runtime_error.
Attributes parse_attributes(const std::string& text);

} // namespace dez::trelix

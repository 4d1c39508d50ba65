#pragma once

#include <string>
#include <utility>
#include <vector>

#include "document/attributes.h"

namespace dez::trelix {

// The pairs as key and value texts, in list order: the argument list of a
// rule-function context.
std::vector<std::pair<std::string, std::string>> convert_attributes(const Attributes& attributes);

} // namespace dez::trelix

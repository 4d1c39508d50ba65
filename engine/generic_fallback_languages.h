#pragma once

#include <set>
#include <string>

namespace dez::trelix {

// Languages without a module of their own that are served by the "generic"
// module.
extern const std::set<std::string> generic_fallback_languages;

} // namespace dez::trelix

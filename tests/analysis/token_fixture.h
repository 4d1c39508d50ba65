#pragma once

// Token read-backs shared by the analysis fixtures.

#include <string>
#include <vector>

#include "document/token.h"

namespace dez::trelix::fixture {

inline std::vector<std::string> properties_of(const Token& token) {
    return std::vector<std::string>(token.properties.begin(), token.properties.end());
}

} // namespace dez::trelix::fixture

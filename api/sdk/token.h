#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "annotation.h"
#include "morph_data.h"

namespace qvr::common {

class Token : public Annotation {
public:
    Token(uint32_t begin, uint32_t end, std::string literal)
        : Annotation(token_type, begin, end), literal(std::move(literal)) {}

    std::string literal;
    // In result order.
    std::vector<MorphData> readings;
    std::set<std::string> properties;
};

} // namespace qvr::common

#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "annotation.h"
#include "morph_data.h"

namespace qvr::common {

class Token : public Annotation {
public:
    Token(uint32_t from, uint32_t to, std::string text)
        : Annotation(token_type, from, to), literal(std::move(text)) {}

    std::string literal;
    // In result order.
    std::vector<MorphData> readings;
    std::set<std::string> properties;
};

} // namespace qvr::common

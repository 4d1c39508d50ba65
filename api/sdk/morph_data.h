#pragma once

#include <string>
#include <vector>

namespace qvr::common {

// One reading of a token.
struct MorphData {
    std::string pos;
    std::string stem;
    // In result order, repeats kept.
    std::vector<std::string> tags;
    std::vector<MorphData> components;
    double weight = 1.0;
};

} // namespace qvr::common

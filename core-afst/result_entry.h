#pragma once

#include <cstdint>
#include <string>

namespace dez::afst {

// One output the guesser reached.
struct ResultEntry {
    std::string tag; // "+guess"
    std::string output;
    // 1 without fixes, lower with every fix, the more the nearer the start.
    double score = 1.0;
    // Positions with a fix in effect.
    int32_t fix_count = 0;
};

} // namespace dez::afst

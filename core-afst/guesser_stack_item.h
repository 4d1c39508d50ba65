#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace dez::afst {

// One level of the guesser walk. Levels form a stack linked both ways; the
// session owns the links, a LevelGuardBase owns the level.
struct StackItem {
    int32_t state = -1;
    // Byte offset into the working text of the next character to read.
    std::size_t input = 0;
    // 0 for the first level, one more than the level walked from; a fix copy
    // keeps the number of the level it copies.
    int32_t level = 0;
    // Arcs of this state that matched the character at `input` ("??" arcs
    // too); a level that reads nothing asks for fixes when it is left.
    int32_t match_count = 0;
    // Set on the level of a stuck position that fixes are applied to.
    bool fix_flag = false;
    // Output label of the arc that led here ("" for the first level).
    std::string output;
    StackItem* previous = nullptr; // the older level below
    StackItem* next = nullptr;     // the newer level above
};

} // namespace dez::afst

#pragma once

#include <cstdint>

namespace dez::trelix {

// A stretch of the text the sentence splitter marked for the tokenizer.
struct AbbreviationRange {
    uint32_t begin = 0;
    uint32_t end = 0;
    // Bit 0: an abbreviation the language knows; bit 1: a header prefix.
    uint64_t kind = 0;
};

} // namespace dez::trelix

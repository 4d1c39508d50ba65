#pragma once

#include <cstdint>
#include <vector>

namespace dez::trelix {

// The conversion policy that keeps every code point as it is.
class DefaultCharTraits {
public:
    static std::vector<uint32_t> convert(uint32_t c) { return {c}; }
};

} // namespace dez::trelix

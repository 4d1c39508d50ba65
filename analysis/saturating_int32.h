#pragma once

#include <cstdint>
#include <limits>
#include <type_traits>

namespace dez::lid {

// The value, or the int32_t bound it lies beyond: counts and scores of long
// texts stop at the bound instead of wrapping.
template <class Integer> int32_t saturate_int32(Integer value) {
    static_assert(std::is_integral_v<Integer>);
    constexpr int32_t low = std::numeric_limits<int32_t>::min();
    constexpr int32_t high = std::numeric_limits<int32_t>::max();
    if constexpr (std::is_signed_v<Integer>) {
        if (static_cast<int64_t>(value) < low)
            return low;
        if (static_cast<int64_t>(value) > high)
            return high;
    } else {
        if (static_cast<uint64_t>(value) > static_cast<uint64_t>(high))
            return high;
    }
    return static_cast<int32_t>(value);
}

// a + b, saturated; no overflow on the way either.
inline int32_t saturating_add(int32_t a, int64_t b) {
    int64_t sum = 0;
    if (__builtin_add_overflow(int64_t(a), b, &sum))
        return b > 0 ? std::numeric_limits<int32_t>::max() : std::numeric_limits<int32_t>::min();
    return saturate_int32(sum);
}

} // namespace dez::lid

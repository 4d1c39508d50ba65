#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "analysis/saturating_int32.h"

namespace dez::lid {
namespace {

constexpr int32_t high = std::numeric_limits<int32_t>::max();
constexpr int32_t low = std::numeric_limits<int32_t>::min();

TEST(SaturatingInt32, StopsAtTheBounds) {
    EXPECT_EQ(saturate_int32(int64_t(5)), 5);
    EXPECT_EQ(saturate_int32(int64_t(high) + 1), high);
    EXPECT_EQ(saturate_int32(int64_t(low) - 1), low);
    EXPECT_EQ(saturate_int32(std::numeric_limits<int64_t>::min()), low);
    // A byte length beyond int32_t, and one that would turn negative as int64_t.
    EXPECT_EQ(saturate_int32(std::size_t(3) << 31), high);
    EXPECT_EQ(saturate_int32(std::numeric_limits<std::size_t>::max()), high);
    EXPECT_EQ(saturate_int32(std::size_t(7)), 7);

    struct Case {
        int32_t a;
        int64_t b;
        int32_t sum;
    };
    const Case cases[] = {
        {2, 3, 5},
        {high, 1, high},
        {low, -1, low},
        {high, low, -1},
        {-5, std::numeric_limits<int64_t>::max(), high}, // the int64_t sum itself overflows
        {5, std::numeric_limits<int64_t>::min(), low},
    };
    for (const Case& c : cases)
        EXPECT_EQ(saturating_add(c.a, c.b), c.sum) << c.a << " + " << c.b;
}

} // namespace
} // namespace dez::lid

#include "foundation/environment.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>

namespace {

const char* const kVar = "TRELIX_TEST_ENV_VALUE";

struct IntCase {
    const char* value; // nullptr: unset
    int expected;
};

TEST(Environment, IntReadsLikeStrtolAndClamps) {
    const IntCase cases[] = {
        {nullptr, 42},         {"17", 17},           {"  -8", -8},      {"+5", 5},
        {"12abc", 12},         {"abc", 0},           {"", 0},           {"0x10", 0},
        {"99999999999", INT_MAX}, {"-99999999999", INT_MIN},
    };
    for (const auto& c : cases) {
        if (c.value)
            setenv(kVar, c.value, 1);
        else
            unsetenv(kVar);
        EXPECT_EQ(dez::system::get_environment_int(kVar, 42), c.expected)
            << (c.value ? c.value : "<unset>");
    }
    unsetenv(kVar);
}

TEST(Environment, EmptyValueCountsAsSet) {
    setenv(kVar, "", 1);
    EXPECT_EQ(dez::system::get_environment(kVar, "default"), "");
    setenv(kVar, "set", 1);
    EXPECT_EQ(dez::system::get_environment(kVar, "default"), "set");
    unsetenv(kVar);
    EXPECT_EQ(dez::system::get_environment(kVar, "default"), "default");
}

} // namespace

#include <gtest/gtest.h>

#include "analysis/lookup_type.h"

namespace dez::trelix::core {
namespace {

TEST(LookupType, NamesOutsideTheTableArePlainLookups) {
    EXPECT_EQ(get_lookup_type("not_set"), 0);
    EXPECT_EQ(get_lookup_type("plain"), 1);
    EXPECT_EQ(get_lookup_type("compound"), 2);
    EXPECT_EQ(get_lookup_type("compound_numbers"), 5);
    EXPECT_EQ(get_lookup_type("guesser"), 7);
    EXPECT_EQ(get_lookup_type("icu"), 10);
    EXPECT_EQ(get_lookup_type("reverse"), 0);
    EXPECT_EQ(get_lookup_type("ICU"), 0);
}

} // namespace
} // namespace dez::trelix::core

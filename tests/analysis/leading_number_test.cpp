#include <gtest/gtest.h>

#include <string>

#include "analysis/leading_number.h"

namespace dez::trelix {
namespace {

TEST(LeadingNumber, TheLongestDecimalPrefix) {
    struct Case {
        const char* text;
        bool skip_space;
        double expected;
    };
    const Case cases[] = {
        {"2.5", false, 2.5},   {"-2", false, -2.0}, {"+0.25", false, 0.25},
        {".5", false, 0.5},    {"5.", false, 5.0},  {"1e3", false, 1000.0},
        {"1e", false, 1.0},    {"1e+", false, 1.0}, {"2.5abc", false, 2.5},
        {"abc", false, 0.0},   {"", false, 0.0},    {"-", false, 0.0},
        {".", false, 0.0},     {"inf", false, 0.0}, {"nan", false, 0.0},
        {"0x10", false, 0.0},  {" 3", false, 0.0},  {" \t3", true, 3.0},
        {"1e999", false, 0.0},
    };
    for (const Case& c : cases) {
        const std::string text = c.text;
        EXPECT_EQ(read_leading_number(text.data(), text.data() + text.size(), c.skip_space),
                  c.expected)
            << '"' << c.text << '"';
    }
}

} // namespace
} // namespace dez::trelix

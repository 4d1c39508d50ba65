#include "foundation/convert_range.h"
#include "foundation/regex.h"
#include "foundation/tlx_std_regex.h"

#include <gtest/gtest.h>

#include <regex>
#include <stdexcept>
#include <string>

namespace {

TEST(ConvertRange, Conversions) {
    const struct {
        std::string pattern;
        std::string expected;
    } cases[] = {
        {"", ""},
        {"plain (text)+ .*", "plain (text)+ .*"},
        {"[abc]", "(?:a|b|c)"},
        {"[a-c]", "(?:a|b|c)"},
        {"x[a-cz]y", "x(?:a|b|c|z)y"},
        {"[\\.a]", "(?:\\.|a)"},
        {"[().[]", "(?:\\(|\\)|\\.|\\[)"},
        {"[^a]", "(?:^|a)"}, // no negation
        {"[a-", "(?:a|-)"},  // "-" without an end byte
        {"[-a]", "(?:-|a)"},
        {"[*+?]", "(?:*|+|?)"},   // single bytes go unchanged
        {"[(-+]", "(?:\\(|-|+)"}, // "(" never starts a range
        {"[)-+]", "(?:\\)|-|+)"},
        {"[&-*]", "(?:&|'|\\(|\\)|\\*)"}, // range bytes are escaped
        {"[x-{]", "(?:x|y|z|\\{)"},
        {"[Z-]]", "(?:Z|\\[|\\|\\])"}, // d may be "]"; "\\" goes as it is
        {"[a", "(?:a)"},               // unterminated bracket
        {"[", "(?:)"},
        {"[]", "(?:)"},
        {"\\[a\\]", "\\[a\\]"}, // escaped outside brackets
        {"[\\]a]", "(?:\\]|a)"},
        {"ab\\", "ab\\"},
        {"[\\", "(?:\\)"},
        {"[a-a]", "(?:a)"},
        {"[ab][cd]", "(?:a|b)(?:c|d)"},
        {"[\xc3\xa9]", "(?:\xc3|\xa9)"}, // bytes, not characters
    };
    for (const auto& c : cases)
        EXPECT_EQ(dez::tlx::convert_range(c.pattern), c.expected) << c.pattern;
}

TEST(ConvertRange, Failures) {
    const struct {
        std::string pattern;
        const char* message;
    } cases[] = {
        {"a]", "invalid expression ] need to be escaped."},
        {"[a]]", "invalid expression ] need to be escaped."},
        {"[c-a]", "begin range is bigger then the end range."},
        {"[a-]]", "begin range is bigger then the end range."},    // range up to "]"
        {"[\xff-a]", "begin range is bigger then the end range."}, // unsigned bytes
    };
    for (const auto& c : cases) {
        try {
            dez::tlx::convert_range(c.pattern);
            ADD_FAILURE() << "no failure for " << c.pattern;
        } catch (const std::runtime_error& error) {
            EXPECT_STREQ(error.what(), c.message) << c.pattern;
        }
    }
}

TEST(ConvertRange, HighByteRangeReachesTheTop) {
    const std::string converted = dez::tlx::convert_range("[\xfe-\xff]");
    EXPECT_EQ(converted, "(?:\xfe|\xff)");
}

TEST(ConvertRange, ConvertedPatternsCompile) {
    const dez::Regex regex(dez::tlx::convert_range("[A-C][0-9]+\\.[xy]"), false);
    EXPECT_TRUE(regex.regex_match("B42.y"));
    EXPECT_FALSE(regex.regex_match("D42.y"));
}

TEST(TlxStdRegex, ConvertsAndHonoursCase) {
    EXPECT_TRUE(std::regex_match("b1", dez::tlx::tlx_regex("[a-c][0-9]")));
    EXPECT_FALSE(std::regex_match("B1", dez::tlx::tlx_regex("[a-c][0-9]")));
    EXPECT_TRUE(std::regex_match("B1", dez::tlx::tlx_regex_case_insenitive("[a-c][0-9]")));
    EXPECT_THROW(dez::tlx::tlx_regex("[c-a]"), std::runtime_error);
    EXPECT_THROW(dez::tlx::tlx_regex("(a"), std::regex_error);
}

} // namespace

#include "core-afst/serialization_key_pattern.h"

#include <gtest/gtest.h>

#include <string>

namespace {

namespace ser = dez::afst::serialization;
using namespace std::string_literals;

TEST(KeyPattern, OnlyPercentMakesAPattern) {
    EXPECT_TRUE(ser::is_key_pattern("%src%rule:%"));
    EXPECT_TRUE(ser::is_key_pattern("50%"));
    EXPECT_FALSE(ser::is_key_pattern("_BUSY_"));
    EXPECT_FALSE(ser::is_key_pattern("entities_stem"));
    EXPECT_FALSE(ser::is_key_pattern(""));
}

TEST(KeyPattern, LikeRulesOverWholeKeys) {
    struct Case {
        std::string pattern, key;
        bool matches;
    };
    const std::string run(60000, 'k');
    const Case cases[] = {
        // the pattern callers' forms
        {"%src1%rule:%", "bitset_src1_rule:a", true},
        {"%src1%rule:%", "src2_rule:a", false},
        {"rule_x_%rule:%", "rule_x_a.rule:1", true},
        {"rule_x_%rule:%", "rule_y_a.rule:1", false},
        // '%' any run, the empty one included; '_' exactly one character
        {"%", "", true},
        {"%%", "x", true},
        {"a%%b", "ab", true},
        {"%a%b", "aXbYb", true},
        {"%a%b", "aXbY", false},
        {"", "", true},
        {"", "a", false},
        {"a_c", "abc", true},
        {"a_c", "ac", false},
        {"_", "\xC3\xA9", true}, // U+00E9 is one character
        {"__", "\xC3\xA9", false},
        {"_", "\xF0\x9F\x98\x80", true}, // so is U+1F600
        {"_", "\xFF", true},             // a malformed byte is one too
        {"_", "\xFF\xFE", false},
        {"_", "\xE2\x82", false},         // a cut sequence is two bytes
        {"__", "\xC0\x80", true},         // so is an overlong form
        {"___", "\xED\xA0\x80", true},    // and a surrogate
        {"_", "\xF4\x90\x80\x80", false}, // and a value above U+10FFFF
        // ASCII letters fold, nothing else does
        {"RULE_A%", "rulexa", true},
        {"\xC3\xA9%", "\xC3\x89", false},
        // NUL bytes and malformed UTF-8 match only themselves
        {"a\0b%"s, "a", false},
        {"a\0b%"s, "a\0c"s, false},
        {"a\0b%"s, "a\0bc"s, true},
        {"%\xE2", "\xFF", false},
        {"%\xE2", "x\xE2", true},
        {"%\xC3", "\xC3\xA9", false},     // a lead byte is not half a character
        {"%\xEF\xBF\xBD", "\xFF", false}, // nor is U+FFFD a stand-in
        // no length limit
        {run + "%", run + "tail", true},
        {"%" + run, "x" + run, true},
        {"%" + run + "x", run, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ser::key_matches(c.pattern, c.key), c.matches)
            << ::testing::PrintToString(c.pattern.substr(0, 20)) << " against "
            << ::testing::PrintToString(c.key.substr(0, 20));
}

} // namespace

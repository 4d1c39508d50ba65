#include "foundation/string_utils.h"

#include <gtest/gtest.h>

#include <utf8.h>

namespace {

using dez::string::join;
using dez::string::split_vector;
using Parts = std::vector<std::string>;

TEST(StringUtils, StripQuotes) {
    EXPECT_EQ(dez::string::strip_quotes("\"abc\""), "abc");
    EXPECT_EQ(dez::string::strip_quotes("\"x"), "");
    EXPECT_EQ(dez::string::strip_quotes("\"abc'"), "abc"); // the last byte is not examined
    EXPECT_EQ(dez::string::strip_quotes("\""), "\"");
    EXPECT_EQ(dez::string::strip_quotes("abc\""), "abc\"");
    EXPECT_EQ(dez::string::strip_quotes(""), "");
}

TEST(StringUtils, PrefixSuffixAndCaseInsensitiveEquality) {
    EXPECT_TRUE(dez::string::starts_with("abc", "ab"));
    EXPECT_TRUE(dez::string::starts_with("abc", ""));
    EXPECT_FALSE(dez::string::starts_with("ab", "abc"));
    EXPECT_FALSE(dez::string::starts_with("abc", "b"));
    EXPECT_TRUE(dez::string::ends_with("name.so", ".so"));
    EXPECT_TRUE(dez::string::ends_with("abc", ""));
    EXPECT_FALSE(dez::string::ends_with("so", ".so"));

    EXPECT_TRUE(dez::string::iequals("HeLLo", "hello"));
    EXPECT_FALSE(dez::string::iequals("hello", "hell"));
    EXPECT_FALSE(dez::string::iequals("hello", "help!"));
}

TEST(StringUtils, ReplaceAll) {
    struct Case {
        std::string text, what, with, result;
    };
    const Case cases[] = {
        {"a-b-c", "-", "+", "a+b+c"},
        {"aaa", "a", "aa", "aaaaaa"}, // inserted text is not searched again
        {"abab", "ab", "", ""},
        {"xyz", "q", "r", "xyz"},
        {"abc", "", "x", "abc"}, // empty search text: unchanged, and it ends
    };
    for (const auto& c : cases) {
        std::string s = c.text;
        dez::string::replace_all(s, c.what, c.with);
        EXPECT_EQ(s, c.result) << c.text << " / " << c.what;
    }
}

TEST(StringUtils, Findn) {
    EXPECT_EQ(dez::string::findn("ab/cd/ef/gh", '/', 3), 8u);
    EXPECT_EQ(dez::string::findn("/a/b", '/', 1), 2u);
    EXPECT_EQ(dez::string::findn("a/b", '/', 2), 3u);
    EXPECT_EQ(dez::string::findn("a/b", '/', 0), 0u);
    EXPECT_EQ(dez::string::findn("a/b", '/', -1), 0u);
    EXPECT_EQ(dez::string::findn("", '/', 1), 0u);
}

TEST(StringUtils, Join) {
    const Parts abc = {"a", "b", "c"};
    struct Case {
        int begin, end;
        std::string result;
    };
    const Case cases[] = {
        {0, -1, "a, b, c"}, {1, -1, "b, c"}, {-2, -1, "c"}, {0, 2, "a, b"},
        {2, 1, ""},         {-9, -1, "a, b, c"},
        {0, 7, "a, b, c"}, // end past the count is clamped
        {5, 9, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(join(abc, ", ", c.begin, c.end), c.result) << c.begin << ".." << c.end;
    EXPECT_EQ(join(Parts{}, ",", 0, -1), "");
    EXPECT_EQ(join(std::set<std::string>{"b", "a"}, "|", 0, -1), "a|b");
}

TEST(StringUtils, SplitOnOneByteMergesRuns) {
    struct Case {
        std::string text;
        bool drop;
        Parts parts;
    };
    const Case cases[] = {
        {"a,,b", false, {"a", "b"}},     {",a", false, {"", "a"}},
        {"a,", false, {"a", ""}},        {",,a,,", false, {"", "a", ""}},
        {",", false, {"", ""}},          {"abc", false, {"abc"}},
        {",a,,b,", true, {"a", "b"}},    {",", true, {}},
        {"", false, {""}},               {"", true, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Parts out = {"kept"};
        split_vector(out, std::string_view(c.text), ',', c.drop);
        Parts expected = {"kept"};
        expected.insert(expected.end(), c.parts.begin(), c.parts.end());
        EXPECT_EQ(out, expected);

        Parts ranged;
        split_vector(ranged, c.text.cbegin(), c.text.cend(), ',', c.drop);
        EXPECT_EQ(ranged, c.parts);
        EXPECT_EQ(split_vector(c.text.cbegin(), c.text.cend(), ',', c.drop), c.parts);
        // The string form gives nothing at all for an empty text.
        EXPECT_EQ(split_vector(c.text, ',', c.drop), c.text.empty() ? Parts{} : c.parts);
    }
}

TEST(StringUtils, SplitOnByteListKeepsEveryPartUnlessDropping) {
    struct Case {
        std::string text;
        bool drop;
        Parts parts;
    };
    const Case cases[] = {
        {"a,,b", false, {"a", "", "b"}},
        {"a,;b c", false, {"a", "", "b", "c"}},
        {";a;", false, {"", "a", ""}},
        {",;a; ,b", true, {"a", "b"}},
        {"", false, {""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Parts out;
        split_vector(out, c.text, ",; ", c.drop);
        EXPECT_EQ(out, c.parts);
        Parts ranged;
        split_vector(ranged, c.text.cbegin(), c.text.cend(), ",; ", c.drop);
        EXPECT_EQ(ranged, c.parts);
        EXPECT_EQ(split_vector(c.text, ",; ", c.drop), c.text.empty() ? Parts{} : c.parts);
    }
}

TEST(StringUtils, SplitSet) {
    std::set<std::string> out = {"old"};
    dez::string::split_set(out, "b,a,,b,", ',');
    EXPECT_EQ(out, (std::set<std::string>{"", "a", "b"}));
    dez::string::split_set(out, "", ',');
    EXPECT_EQ(out, (std::set<std::string>{"", "a", "b"}));
}

TEST(StringUtils, CamelCase) {
    struct Case {
        std::string text;
        char separator;
        std::string camel, uri;
    };
    const Case cases[] = {
        {"jean-luc PICARD", ' ', "Jean Luc Picard", "Jean Luc Picard"},
        {"jean-luc PICARD", '\0', "JeanLucPicard", "JeanLucPicard"},
        {"NASA", '\0', "Nasa", "Nasa"},
        {"McDonald", '\0', "Mcdonald", "McDonald"},
        {"mcDONALD x", '_', "Mcdonald_X", "McDONALD_X"},
        {"dr.who", '\0', "Dr.Who", "Dr.Who"},
        {"-a b", '\0', "-aB", "-aB"}, // a dash at word start is an ordinary character
        {"\xC3\xA9mile \xC3\x89MILE", ' ', "\xC3\x89mile \xC3\x89mile",
         "\xC3\x89mile \xC3\x89mile"},
        {"", ' ', "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(dez::string::camel_case_word(c.text, c.separator), c.camel) << c.text;
        EXPECT_EQ(dez::string::uri_camel_case_word(c.text, c.separator), c.uri) << c.text;
    }
    EXPECT_THROW(dez::string::camel_case_word("ab\xC3", ' '), utf8::not_enough_room);
    EXPECT_THROW(dez::string::uri_camel_case_word("\x80", ' '), utf8::invalid_utf8);
}

} // namespace

#include "foundation/case_mapping.h"

#include <gtest/gtest.h>

#include <utf8.h>

namespace {

using namespace dez::string;

TEST(CaseMapping, WordFunctions) {
    struct Case {
        std::string text, to_lower, normalized, keep_case;
    };
    const Case cases[] = {
        {"", "", "", ""},
        {"Hello World", "hello world", "hello world", "Hello World"},
        {"Caf\xC3\xA9", "caf\xC3\xA9", "cafe", "Cafe"},
        {"\xC3\x86r\xC3\xB8", "\xC3\xA6r\xC3\xB8", "\xC3\xA6r\xC3\xB8", "\xC3\x86r\xC3\xB8"}, // Ærø
        {"\xC4\xB0", "i", "i", "I"},                                   // İ: simple mapping
        {"\xCE\xA3\xCE\x91\xCE\xA3", "\xCF\x83\xCE\xB1\xCF\x83",      // ΣΑΣ: no final sigma
         "\xCF\x83\xCE\xB1\xCF\x83", "\xCE\xA3\xCE\x91\xCE\xA3"},
        {"\xEF\xAC\x81n", "\xEF\xAC\x81n", "fin", "fn"},               // ligature
        {"\xC5\x81\xC3\xB3" "d\xC5\xBA", "\xC5\x82\xC3\xB3" "d\xC5\xBA", "lodz", "lodz"}, // Łódź
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(to_lower(c.text), c.to_lower);
        EXPECT_EQ(lowercase_word(c.text), c.to_lower);
        EXPECT_EQ(normalize_word(c.text), c.normalized);
        EXPECT_EQ(normalize_word_keep_case(c.text), c.keep_case);
    }
}

TEST(CaseMapping, InvalidUtf8Raises) {
    EXPECT_THROW(to_lower("ab\xC3"), utf8::not_enough_room);
    EXPECT_THROW(lowercase_word("\x80"), utf8::invalid_utf8);
    EXPECT_THROW(normalize_word("\xED\xA0\x80"), utf8::invalid_code_point);
    EXPECT_THROW(normalize_word_keep_case("\xC0\x80"), utf8::invalid_utf8);
    EXPECT_THROW(make_uri("a\xC3"), utf8::not_enough_room);
    EXPECT_THROW(starts_with_lowercase("\xC3"), utf8::not_enough_room);
}

TEST(CaseMapping, LowerInitialCapWord) {
    std::string out = "untouched";
    EXPECT_TRUE(lower_initial_cap_word("Paris", out));
    EXPECT_EQ(out, "paris");
    EXPECT_TRUE(lower_initial_cap_word("\xC3\x89LAN", out)); // ÉLAN: only the first changes
    EXPECT_EQ(out, "\xC3\xA9LAN");

    out = "untouched";
    EXPECT_FALSE(lower_initial_cap_word("paris", out));
    EXPECT_EQ(out, "untouched");
    EXPECT_FALSE(lower_initial_cap_word("1A", out));
    EXPECT_EQ(out, "untouched");
    // An empty word is simply not capitalised.
    EXPECT_FALSE(lower_initial_cap_word("", out));
    EXPECT_EQ(out, "untouched");
    EXPECT_THROW(lower_initial_cap_word("\xC3", out), utf8::not_enough_room);
}

TEST(CaseMapping, StartsWithLowercase) {
    EXPECT_FALSE(starts_with_lowercase(""));
    EXPECT_TRUE(starts_with_lowercase("abc"));
    EXPECT_TRUE(starts_with_lowercase("\xC3\xA9t\xC3\xA9"));
    EXPECT_FALSE(starts_with_lowercase("Abc"));
    EXPECT_FALSE(starts_with_lowercase("1abc"));
}

TEST(CaseMapping, MakeUri) {
    EXPECT_EQ(make_uri("Caf\xC3\xA9 de Flore"), "CafeDeFlore");
    EXPECT_EQ(make_uri("jean-luc picard"), "JeanLucPicard");
    EXPECT_EQ(make_uri("NASA st.louis"), "NasaSt.Louis");
    EXPECT_EQ(make_uri(""), "");
}

} // namespace

#include "foundation/text_cleanup.h"

#include <gtest/gtest.h>

namespace {

using namespace dez::string;

TEST(TextCleanup, CleanupNormalizedEntry) {
    struct Case {
        std::string entry, result;
        int status;
    };
    const Case cases[] = {
        {"New - York", "new york", 1},
        {"a - - b", "a b", 1},
        {"a _ b", "a _ b", 1},         // only " - " is cleaned, but the status still says so
        {"\xC3\x89toile", "etoile", 2}, // Étoile
        {"new-york", "new-york", -1},  // unchanged: status untouched
        {"New-York", "new-york", -1},  // changed, but holds a dash
        {"-A b", "-a b", -1},          // dash at the start
        {"A -", "a -", -1},            // nothing after the dash
        {"plain", "plain", -1},
    };
    for (const auto& c : cases) {
        int status = -1;
        EXPECT_EQ(cleanup_normalized_entry(c.entry, status), c.result) << c.entry;
        EXPECT_EQ(status, c.status) << c.entry;
    }
}

TEST(TextCleanup, CleanupInputMapsTypographicCharacters) {
    const std::pair<uint32_t, char> table[] = {
        {0x2018, '\''}, {0x201A, ','},  {0x201B, '\''}, {0x201C, '"'}, {0x201D, '"'},
        {0x201E, '"'},  {0x201F, '"'},  {0x2032, '\''}, {0x2033, '"'}, {0x2035, '\''},
        {0x2036, '"'},  {0x204E, '*'},  {0x0141, 'l'},  {0x0142, 'l'},
    };
    EXPECT_EQ(dez_input_converter.size(), 14u);
    for (const auto& [from, to] : table)
        EXPECT_EQ(cleanup_input(from_uint(from)), std::string(1, to)) << std::hex << from;

    // „Łódź“
    EXPECT_EQ(cleanup_input("\xE2\x80\x9E\xC5\x81\xC3\xB3" "d\xC5\xBA\xE2\x80\x9C"),
              "\"l\xC3\xB3" "d\xC5\xBA\"");
    EXPECT_EQ(cleanup_input("it\xE2\x80\x99s"), "it\xE2\x80\x99s"); // U+2019 stays
    EXPECT_THROW(cleanup_input("\xC3"), utf8::not_enough_room);
}

TEST(TextCleanup, CleanupInputData) {
    EXPECT_EQ(cleanup_input_data("\xE2\x80\x98it\xE2\x80\x99s\xE2\x80\x9C"), "'it's\xE2\x80\x9C");
    EXPECT_EQ(cleanup_input_data(""), "");
}

TEST(TextCleanup, CleanAndTrim) {
    const std::set<char> specials = {'('};
    struct Case {
        std::string text, result;
        int code;
    };
    const Case cases[] = {
        {"  a   b  \t", "a b", 0},
        {"\r\n\x01x\x0B", "x", 0},
        {"a\t\tb", "a\t\tb", 0},
        {"\\u0041 \\( b", "A \\( b", 0},
        {"\\u0020\\u0020x", "x", 0}, // escaped blanks count once decoded
        {"a\\qb", "aqb", 1},
        {"", "", 0},
    };
    for (const auto& c : cases) {
        std::string s = c.text;
        unicode::ErrorCode record;
        clean_and_trim(s, specials, &record);
        EXPECT_EQ(s, c.result) << c.text;
        EXPECT_EQ(record.code, c.code) << c.text;
    }
}

TEST(TextCleanup, SpacesDashesAndLineBreaks) {
    struct Case {
        void (*clean)(std::string&);
        std::string text, result;
    };
    const Case cases[] = {
        {clean_multi_spaces, "a   b  c", "a b c"},
        {clean_multi_spaces, "  a\t\t", " a\t\t"},
        {clean_dashes, "a - - b", "a b"},
        {clean_dashes, "a - b - c", "a b c"},
        {clean_dashes, "a -b", "a -b"},
        {cleanup_crlf, "a\r\nb\n\rc", "abc"},
        {cleanup_crlf, "", ""},
    };
    for (const auto& c : cases) {
        std::string s = c.text;
        c.clean(s);
        EXPECT_EQ(s, c.result) << c.text;
    }
}

} // namespace

#include "foundation/code_point_classes.h"

#include <gtest/gtest.h>

#include <unicode/uchar.h>

namespace {

using namespace dez::string;

TEST(CodePointClasses, Membership) {
    struct Case {
        bool (*test)(uint32_t);
        const char* name;
        std::vector<uint32_t> in, out;
    };
    const Case cases[] = {
        {is_whitespace, "is_whitespace", {' ', '\t', '\n', 0xA0, 0x2003}, {'a', 0x200B}},
        {withespace, "withespace", {' ', '\t', 0xA0, 0x2003}, {'a', '-'}},
        {no_withespace, "no_withespace", {'a', '-'}, {' ', '\n'}},
        {visual_withespace, "visual_withespace", {' ', '\t'}, {'\n', 0xA0}},
        {is_nummber, "is_nummber", {'0', '9', 0x0663}, {'a', 0xBD}},
        {is_quote, "is_quote", {0x201C, 0x201D, 0x2019, 0x2018, 0xBB}, {'"', 0xAB}},
        {closing_quoteations, "closing_quoteations", {0xBB, 0x201D}, {0x201C, 0xAB}},
        {inverted_sentence_begin, "inverted_sentence_begin", {0xA1, 0xBF}, {'!', '?'}},
        {sentence_begin, "sentence_begin", {'A', 0xC9, 0xA1, 0xBF, '-', 0x2013, '#'},
         {'a', '1', 0x2014, '"'}},
    };
    for (const auto& c : cases) {
        for (uint32_t cp : c.in)
            EXPECT_TRUE(c.test(cp)) << c.name << " " << std::hex << cp;
        for (uint32_t cp : c.out)
            EXPECT_FALSE(c.test(cp)) << c.name << " " << std::hex << cp;
    }
}

// The ASCII shortcut answers as ICU does.
TEST(CodePointClasses, WhitespaceOfAsciiAsIcuSaysIt) {
    for (uint32_t c = 0; c < 0x80; ++c)
        EXPECT_EQ(is_whitespace(c), c == 0xA0 || u_isWhitespace(static_cast<UChar32>(c)))
            << std::hex << c;
}

TEST(CharacterClass, TableHoldsTheEightNamedClasses) {
    const auto& table = character_class_table();
    EXPECT_EQ(table.size(), 8u);
    for (const char* name : {"lower", "upper", "digit", "xdigit", "alnum", "alpha", "punct", "title"})
        EXPECT_EQ(table.count(name), 1u) << name;
    EXPECT_TRUE(character_class_specials().empty());
}

TEST(CharacterClass, NamedAndLiteralClasses) {
    struct Case {
        int32_t c;
        std::string cls;
        bool result;
    };
    const Case cases[] = {
        {'Q', ":upper:", true},   {'q', ":upper:", false},   {'q', ":lower:", true},
        {'7', ":digit:", true},   {'f', ":xdigit:", true},   {'g', ":xdigit:", false},
        {0xE9, ":alpha:", true},  {'!', ":punct:", true},    {0x1C5, ":title:", true},
        {'_', ":alnum:", false},  {'a', ":nosuch:", false},
        {'Q', ":#a-z#:", false},  {'Q', ":#A-Z#:", true},    {'a', ":#ab#:", true},
        {'b', ":#ab#:", true},    {'c', ":#ab#:", false},    {'m', ":#a-cx-z#:", false},
        {'y', ":#a-cx-z#:", true}, {'-', ":#-a#:", true},    {'-', ":#a-c-#:", true},
        {'b', ":#a-#:", false},   {0xE9, ":#\xC3\xA0-\xC3\xBF#:", true},
        {0xE9, ":#\\u00e9#:", true}, {'A', ":#\\x41#:", true},
        {'a', ":#a:", false}, // the items end two bytes before the end
        {'a', "::a:", false},      // 4 bytes
        {'a', "lower", false},     {'a', ":lower", false},    {'a', "", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(check_character_class(c.c, c.cls), c.result) << c.cls << " " << c.c;
}

TEST(CharacterClass, InvalidEscapeInALiteralClassGoesToStandardError) {
    testing::internal::CaptureStderr();
    EXPECT_TRUE(check_character_class('q', ":#\\q#:"));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Invalid escaped character [0x71(q)]");
}

} // namespace

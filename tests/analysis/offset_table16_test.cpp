#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include <unicode/unistr.h>
#include <utf8.h>

#include "analysis/offset_table16.h"
#include "analysis/utf8_mapping_table.h"
#include "tests/analysis/tokenizer_fixture.h"

namespace dez::trelix {
namespace {

const std::string mixed = "a\xC3\xA9\xF0\x9F\x98\x80"
                          "b"; // a, U+00E9, U+1F600, b

TEST(OffsetTable16, UnitsOfTheSpanOntoBytesFromItsStart) {
    icu::UnicodeString out;
    auto table = get_offset_mapping_table(mixed.data(), mixed.data() + mixed.size(), out);
    EXPECT_EQ(table->utf16_to_utf8, (std::vector<uint32_t>{0, 1, 3, 0, 7, 8, 0, 0, 0}));
    EXPECT_EQ(out, icu::UnicodeString::fromUTF8(mixed));

    // A reused table and string hold the new span only.
    fill_offset_mapping_table(mixed.data() + 1, mixed.data() + 3, out, *table);
    EXPECT_EQ(table->utf16_to_utf8, (std::vector<uint32_t>{0, 2, 0}));
    EXPECT_EQ(out, icu::UnicodeString(u"\u00E9"));

    // Embedded NUL bytes are characters like any other.
    const std::string with_nul("a\0b", 3);
    table = get_offset_mapping_table(with_nul.data(), with_nul.data() + 3, out);
    EXPECT_EQ(table->utf16_to_utf8, (std::vector<uint32_t>{0, 1, 2, 3}));
    EXPECT_EQ(out.length(), 3);

    table = get_offset_mapping_table(mixed.data(), mixed.data(), out);
    EXPECT_EQ(table->utf16_to_utf8, std::vector<uint32_t>{0});
    EXPECT_TRUE(out.isEmpty());

    const std::string cut = "a\xC3";
    EXPECT_THROW(get_offset_mapping_table(cut.data(), cut.data() + 2, out), utf8::not_enough_room);
    const std::string bad = "\xFF";
    EXPECT_THROW(get_offset_mapping_table(bad.data(), bad.data() + 1, out), utf8::invalid_utf8);
    // A failed span leaves the string usable for the next one.
    table = get_offset_mapping_table(mixed.data(), mixed.data() + mixed.size(), out);
    EXPECT_EQ(out, icu::UnicodeString::fromUTF8(mixed));
    EXPECT_EQ(table->utf16_to_utf8, (std::vector<uint32_t>{0, 1, 3, 0, 7, 8, 0, 0, 0}));
}

// Literal positions onto text offsets where the literal was normalised.
TEST(Utf8MappingTable, LiteralPositionsOntoTheText) {
    struct Case {
        const char* name;
        std::string literal;
        std::string text;
        std::vector<int32_t> map;
    };
    const std::vector<Case> cases = {
        {"same bytes", "ab", "ab", {0, 1, 2}},
        // U+00E9 against e + U+0301: the mark goes with its letter.
        {"composed", "x\xC3\xA9y", "xe\xCC\x81y", {0, 1, 0, 4, 5, 0}},
        // U+2019 written as an ASCII apostrophe.
        {"mapped quote",
         "l'a",
         "l\xE2\x80\x99"
         "a",
         {0, 1, 4, 5, 0, 0}},
        // A mark the literal kept (no precomposed form) stays with its letter.
        {"kept mark", "q\xCC\x81z", "q\xCC\x81z", {0, 0, 0, 3, 4}},
        // The literal ends first: its end is the end of the text.
        {"literal shorter", "a", "ab", {0, 2, 0}},
        // The text ends first: the rest of the literal maps nowhere; the
        // table covers the longer side.
        {"literal longer", "fi", "\xEF\xAC\x81", {0, 3, 0, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(map_literal_to_text(c.literal, c.text.data(), c.text.data() + c.text.size()),
                  c.map)
            << c.name;
    const std::string bad = "\xC3";
    EXPECT_THROW(map_literal_to_text("a", bad.data(), bad.data() + 1), utf8::not_enough_room);
}

TEST(Utf8MappingTable, JoinedTokensOfTheDocument) {
    fixture::Document document("x l\xE2\x80\x99homme");
    Sentence* sentence = document.tokenize_all();
    const std::vector<Token*> tokens = fixture::tokens_of(*sentence);
    ASSERT_EQ(fixture::spans_of(*sentence),
              (std::vector<std::string>{"x@0-1", "l@2-3", "'@3-6", "homme@6-11"}));
    const std::vector<int32_t> map =
        get_utf8_mapping_tbl(*document, "l'homme", tokens[1], tokens[2], tokens[3]);
    ASSERT_GE(map.size(), 8u);
    EXPECT_EQ(map[1], 1);
    EXPECT_EQ(map[2], 4);
    EXPECT_EQ(map[7], 9);

    // cur alone spans its own bytes.
    EXPECT_EQ(get_utf8_mapping_tbl(*document, "x", nullptr, tokens[0], nullptr),
              (std::vector<int32_t>{0, 1}));

    Token outside(5, 40, "far");
    EXPECT_THROW(get_utf8_mapping_tbl(*document, "far", nullptr, &outside, nullptr),
                 std::out_of_range);
}

} // namespace
} // namespace dez::trelix

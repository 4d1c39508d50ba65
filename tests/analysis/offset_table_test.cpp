#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <utf8.h>

#include "analysis/offset_table.h"

namespace dez::trelix {
namespace {

TEST(OffsetTable, ThreeCountsOfOnePosition) {
    const std::string text = "a\xC3\xA9\xF0\x9F\x98\x80"
                             "b"; // a, U+00E9, U+1F600, b
    auto table = generate_offset_mappings(text.data(), static_cast<int>(text.size()));
    EXPECT_EQ(table->unicode_to_utf8, (std::vector<uint32_t>{0, 1, 3, 7, 8, 0, 0, 0, 0}));
    EXPECT_EQ(table->utf8_to_unicode, (std::vector<uint32_t>{0, 1, 0, 2, 0, 0, 0, 3, 4}));
    EXPECT_EQ(table->utf16_to_utf8, (std::vector<uint32_t>{0, 1, 3, 0, 7, 8, 0, 0, 0}));

    auto empty = generate_offset_mappings("", 0);
    EXPECT_EQ(empty->unicode_to_utf8, std::vector<uint32_t>{0});

    EXPECT_THROW(generate_offset_mappings("a\xC3", 2), utf8::not_enough_room);
    EXPECT_THROW(generate_offset_mappings("\xFF", 1), utf8::invalid_utf8);
    EXPECT_THROW(generate_offset_mappings("\xED\xA0\x80", 3), utf8::invalid_code_point);
}

// Character offsets to byte offsets: an offset past the last character but
// still inside the table is the end of the text, not 0.
TEST(OffsetTable, CharacterOffsetToByteOffset) {
    const std::string mixed = "a\xC3\xA9\xF0\x9F\x98\x80"
                              "b";         // 4 characters, 8 bytes
    const std::string accent = "\xC3\xA9"; // 1 character, 2 bytes
    struct Case {
        const std::string* text;
        uint32_t index;
        uint32_t byte;
    };
    const Case cases[] = {
        {&mixed, 0, 0},  {&mixed, 2, 3},  {&mixed, 3, 7},  {&mixed, 4, 8},
        {&mixed, 5, 8},  {&mixed, 8, 8},  {&mixed, 9, 9},  {&mixed, 100, 100},
        {&accent, 0, 0}, {&accent, 1, 2}, {&accent, 2, 2}, {&accent, 3, 3},
    };
    for (const Case& c : cases) {
        auto table = generate_offset_mappings(c.text->data(), static_cast<int>(c.text->size()));
        EXPECT_EQ(from_unicode_2_utf8_offset(table.get(), c.index), c.byte)
            << c.text->size() << "-byte text, character " << c.index;
    }
    auto empty = generate_offset_mappings("", 0);
    EXPECT_EQ(from_unicode_2_utf8_offset(empty.get(), 0), 0u);
    EXPECT_EQ(from_unicode_2_utf8_offset(empty.get(), 1), 1u);
    EXPECT_EQ(from_unicode_2_utf8_offset(nullptr, 2), 2u);
}

} // namespace
} // namespace dez::trelix

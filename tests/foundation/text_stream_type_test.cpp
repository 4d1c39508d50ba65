#include "foundation/text_stream_type.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(TextStreamType, NumbersAndNamesRoundTrip) {
    const struct {
        dez::text_stream_type type;
        unsigned value;
        const char* name;
    } cases[] = {
        {dez::literal, 0, "literal"},
        {dez::stem, 1, "stem"},
        {dez::normalized_literal, 2, "normalized_literal"},
        {dez::normalized_stem, 3, "normalized_stem"},
        {dez::component, 4, "component"},
        {dez::head, 5, "head"},
        {dez::canonical, 6, "canonical"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(static_cast<unsigned>(c.type), c.value);
        EXPECT_EQ(dez::get_stream_name(c.type), c.name);
        EXPECT_EQ(dez::get_stream_type(c.name), c.type);
    }
    EXPECT_EQ(sizeof(dez::text_stream_type), 4u);
}

TEST(TextStreamType, NameLookupEdges) {
    const struct {
        std::string name;
        unsigned expected;
    } cases[] = {
        {"\"stem\"", 1}, {"\"head\"", 5}, {"\"stem", 7}, // first and last byte dropped: "ste"
        {"\"stemX", 1},                                  // the last byte is dropped whatever it is
        {"\"s", 7},                                      // two bytes: looked up unchanged
        {"\"\"", 7},     {"Stem", 7},     {"", 7},       {"stems", 7},
    };
    for (const auto& c : cases)
        EXPECT_EQ(static_cast<unsigned>(dez::get_stream_type(c.name)), c.expected) << c.name;
}

TEST(TextStreamType, UnnamedValuesGiveLiteral) {
    EXPECT_EQ(dez::get_stream_name(static_cast<dez::text_stream_type>(7)), "literal");
    EXPECT_EQ(dez::get_stream_name(static_cast<dez::text_stream_type>(1234)), "literal");
}

TEST(TextStreamType, MapIsInNameOrder) {
    std::vector<std::string> names;
    for (const auto& entry : dez::stream_types)
        names.push_back(entry.first);
    EXPECT_EQ(names, (std::vector<std::string>{"canonical", "component", "head", "literal",
                                               "normalized_literal", "normalized_stem", "stem"}));
}

} // namespace

#include "foundation/pos_table.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <stdexcept>
#include <string>

namespace {

namespace pos = dez::language::pos_table;

// Stored data and tagger files depend on these numbers bit for bit.
TEST(PosTable, SampleIds) {
    const struct {
        const char* tag;
        unsigned int id;
    } cases[] = {
        {"Adj", 0x10001},          {"Adj-Attr", 0x10002},      {"Adj-Sup", 0x1000E},
        {"Adv", 0x20001},          {"Adv-Sup", 0x2000B},       {"Aux", 0x40001},
        {"Aux-Std", 0x4000D},      {"Conj", 0x80001},          {"Conj-wie", 0x8000B},
        {"Det", 0x10000C},         {"Det-Def", 0x10000D},      {"Det-Std", 0x100018},
        {"Nn", 0x200001},          {"Nn-Pl", 0x200009},        {"Nn-Sym", 0x20000C},
        {"Num", 0x400001},         {"Num-Writ", 0x400003},     {"Part", 0x800001},
        {"Part-Std", 0x800007},    {"Prep", 0x1000001},        {"Prep-van", 0x1000017},
        {"Pron", 0x2000001},       {"Pron-Std", 0x2000015},    {"Prop", 0x4000001},
        {"Prop-Sg", 0x4000006},    {"Punct", 0x8000001},       {"Punct-Header", 0x8000008},
        {"V", 0x10000001},         {"V-PastPart", 0x1000001C}, {"V-Pres-have", 0x10000029},
        {"Cmpd-Part", 0x20000001}, {"Interj", 0x20000004},     {"Markup", 0x20000007},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(pos::id(c.tag), c.id) << c.tag;
        EXPECT_EQ(pos::str(c.id), c.tag);
        EXPECT_TRUE(pos::has(c.tag));
    }
}

TEST(PosTable, CountsPerClass) {
    const std::map<unsigned int, std::size_t> expected = {
        {0x10000, 14},  {0x20000, 11},  {0x40000, 13},    {0x80000, 11},   {0x100000, 13},
        {0x200000, 12}, {0x400000, 3},  {0x800000, 7},    {0x1000000, 23}, {0x2000000, 21},
        {0x4000000, 6}, {0x8000000, 8}, {0x10000000, 41}, {0x20000000, 7},
    };
    std::map<unsigned int, std::size_t> counts;
    std::set<unsigned int> ids;
    for (const auto& [name, id] : pos::data()) {
        ++counts[id & 0xFFFF0000u];
        ids.insert(id);
        EXPECT_NE(id & 0xFFFFu, 0u) << name;
    }
    EXPECT_EQ(pos::data().size(), 190u);
    EXPECT_EQ(ids.size(), 190u);
    EXPECT_EQ(counts, expected);
}

TEST(PosTable, UnknownNamesAndIds) {
    EXPECT_EQ(pos::id("Others"), 0u);
    EXPECT_EQ(pos::id("nn"), 0u);
    EXPECT_EQ(pos::id(""), 0u);
    EXPECT_FALSE(pos::has("Others"));
    EXPECT_FALSE(pos::has("adj"));
    EXPECT_EQ(pos::str(0), "");
    EXPECT_EQ(pos::str(0x100001), ""); // Det has no index 1
    EXPECT_EQ(pos::str(0x200000), "");
}

TEST(PosTable, NullNameIsLogicError) {
    try {
        pos::has(nullptr);
        ADD_FAILURE() << "null accepted";
    } catch (const std::logic_error& error) {
        EXPECT_STREQ(error.what(), "basic_string::_S_construct null not valid");
    }
}

TEST(PosTable, RootIds) {
    const struct {
        const char* root;
        unsigned int id;
    } cases[] = {
        {"Adj", 0x10000},
        {"Adv", 0x20000},
        {"Aux", 0x40000},
        {"Conj", 0x80000},
        {"Det", 0x100000},
        {"Nn", 0x200000},
        {"Num", 0x400000},
        {"Part", 0x800000},
        {"Prep", 0x1000000},
        {"Pron", 0x2000000},
        {"Prop", 0x4000000},
        {"Punct", 0x8000000},
        {"V", 0x10000000},
        {"Others", 0x20000000},
        {"Nn-Pl", 0},
        {"nn", 0},
        {"", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(pos::get_root_pos_id(c.root), c.id) << c.root;
}

TEST(PosTable, TagClassIsItsRoot) {
    EXPECT_EQ(pos::id("Nn-Pl") & 0xFFFF0000u, pos::get_root_pos_id("Nn"));
    EXPECT_EQ(pos::id("Emoji") & 0xFFFF0000u, pos::get_root_pos_id("Others"));
}

} // namespace

#include "core-afst/cleaner_lookup.h"

#include "core-afst/afst.h"
#include "core-afst/word_cleaning.h"
#include "lexicon_fixture.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

using dez::afst::AFst;
using dez::afst::CleanerLookup;
using Strings = std::vector<std::string>;

std::shared_ptr<AFst> words() {
    static const auto afst = std::make_shared<AFst>(afst_test::load_lexicon("words.txt"));
    return afst;
}

TEST(CleanerLookup, Readings) {
    struct Case {
        std::string word;
        Strings expected;
    };
    const Case cases[] = {
        // the pair kept double and made single, candidates in byte order
        {"cooool", {"col+Nn-Sg+cleanup", "cool+Adj-Std+cleanup"}},
        {"coool", {"col+Nn-Sg+cleanup", "cool+Adj-Std+cleanup"}},
        {"gooood", {"god+Nn-Sg+cleanup", "good+Adj-Std+cleanup"}},
        // nothing stretched: nothing, even for a known word
        {"cool", {}},
        {"walk", {}},
        // three stretched runs
        {"wwwaaalllk", {"walk+Nn-Sg+cleanup", "walk+V-Inf+cleanup"}},
        // four are too many
        {"wwwaaalllkkk", {}},
        {"ooo", {}},
        {"", {}},
        // a two-byte character's bytes alternate: no run
        {"\xc3\xa9\xc3\xa9\xc3\xa9", {}},
    };
    CleanerLookup lookup(words(), nullptr);
    for (const auto& c : cases)
        EXPECT_EQ(lookup.up(c.word), c.expected) << c.word;
}

TEST(CleanerLookup, CandidatesGoThroughTheConverter) {
    CleanerLookup lookup(words(), dez::afst::get_lowercase_converter());
    EXPECT_EQ(lookup.up("COOOOL"), (Strings{"col+Nn-Sg+cleanup", "cool+Adj-Std+cleanup"}));
}

TEST(CleanerLookup, LongestWordIs79Bytes) {
    std::string entry;
    for (int i = 0; i < 35; ++i)
        entry += "ab";
    entry += "cc";
    CleanerLookup lookup(std::make_shared<AFst>(afst_test::build_lexicon({entry + ":[+Long]"})),
                         nullptr);
    const std::string word79 = entry.substr(0, 70) + std::string(9, 'c');
    ASSERT_EQ(word79.size(), 79u);
    EXPECT_EQ(lookup.up(word79), (Strings{"+Long+cleanup"}));
    EXPECT_EQ(lookup.up(word79 + "c"), Strings{});
}

// A character may repeat a continuation byte; its run is left alone, so the
// candidates stay valid UTF-8.
TEST(CleanerLookup, NeverCutsACharacter) {
    CleanerLookup lookup(words(), nullptr);
    Strings results;
    EXPECT_NO_THROW(results = lookup.up("wa\xf1\x80\x80\x80lllk"));
    EXPECT_EQ(results, Strings{});
    EXPECT_NO_THROW(results = lookup.up("\xf1\x80\x80\x80\xf1\x80\x80\x80"));
    EXPECT_EQ(results, Strings{});
}

TEST(CleanerLookup, TypeAndPrint) {
    CleanerLookup lookup(words(), nullptr);
    EXPECT_EQ(lookup.type(), 6);
    testing::internal::CaptureStdout();
    lookup.print_results("cooool");
    lookup.print_results("cool");
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "  -g- col+Nn-Sg+cleanup\n  -g- cool+Adj-Std+cleanup\n");
}

struct Cleaned {
    std::string word;
    int length;
    std::vector<int> positions;
};

Cleaned tree(std::string word) {
    int length = static_cast<int>(word.size());
    word.push_back('\0');
    auto positions = dez::afst::clean_word_tree_consecutive_char(word.data(), length);
    return {std::string(word.c_str()), length, positions};
}

TEST(WordCleaning, ShortensRunsOfThreeOrMore) {
    auto c = tree("cooool");
    EXPECT_EQ(c.word, "cool");
    EXPECT_EQ(c.length, 4);
    EXPECT_EQ(c.positions, (std::vector<int>{1}));

    c = tree("aaabbbbccd");
    EXPECT_EQ(c.word, "aabbccd");
    EXPECT_EQ(c.positions, (std::vector<int>{0, 2}));

    c = tree("abc");
    EXPECT_EQ(c.word, "abc");
    EXPECT_TRUE(c.positions.empty());

    c = tree("\xf1\x80\x80\x80");
    EXPECT_EQ(c.word, "\xf1\x80\x80\x80");
    EXPECT_EQ(c.length, 4);
    EXPECT_TRUE(c.positions.empty());
}

TEST(WordCleaning, PairsAndSingleLetters) {
    std::string word = "aabcc";
    int length = 5;
    EXPECT_EQ(dez::afst::clean_word_two_consecutive_char(word.data(), length),
              (std::vector<int>{0, 3}));
    std::string wide = "\xe2\x80\x80";
    length = 3;
    EXPECT_TRUE(dez::afst::clean_word_two_consecutive_char(wide.data(), length).empty());

    std::string good = "good";
    length = 4;
    EXPECT_TRUE(dez::afst::copy_cleanword(good.data(), length));
    EXPECT_EQ(length, 3);
    EXPECT_STREQ(good.c_str(), "god");

    std::string plain = "abc";
    length = 3;
    EXPECT_FALSE(dez::afst::copy_cleanword(plain.data(), length));
    EXPECT_EQ(plain, "abc");
    EXPECT_EQ(length, 3);

    length = 3;
    EXPECT_FALSE(dez::afst::copy_cleanword(wide.data(), length));
    EXPECT_EQ(wide, "\xe2\x80\x80");
}

TEST(WordCleaning, PermutationsOfThreePairs) {
    std::set<std::string> out;
    std::string word = "aabbcc";
    dez::afst::generate_permutations(out, word.data(), 6, {0, 2, 4}, 0, 0);
    EXPECT_EQ(out, (std::set<std::string>{"aabbcc", "abbcc", "aabcc", "aabbc", "abcc", "abbc",
                                          "aabc", "abc"}));
    std::set<std::string> one;
    std::string single = "xyy";
    dez::afst::generate_permutations(one, single.data(), 3, {1}, 0, 0);
    EXPECT_EQ(one, (std::set<std::string>{"xyy", "xy"}));
}

TEST(WordCleaning, AddProperty) {
    Strings results{"a", "b+N"};
    dez::afst::addProperty(results);
    EXPECT_EQ(results, (Strings{"a+cleanup", "b+N+cleanup"}));
}

} // namespace

#include "core-afst/word_lookup.h"

#include "core-afst/afst.h"
#include "document/log_capture.h"
#include "lexicon_fixture.h"

#include <gtest/gtest.h>

#include <utf8.h>

#include <algorithm>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

using afst_test::HandNetwork;
using dez::afst::AFst;
using dez::afst::WordLookup;
using Strings = std::vector<std::string>;
using Pairs = std::vector<std::pair<int, std::string>>;

std::shared_ptr<AFst> lexicon(const std::string& name) {
    static std::map<std::string, std::shared_ptr<AFst>> cache;
    auto& slot = cache[name];
    if (!slot)
        slot = std::make_shared<AFst>(afst_test::load_lexicon(name));
    return slot;
}

Pairs range(WordLookup& lookup, const std::string& text) {
    return lookup.up(text.data(), text.data() + text.size(), WordLookup::end_on_space::off);
}

Pairs sorted(Pairs pairs) {
    std::sort(pairs.begin(), pairs.end());
    return pairs;
}

TEST(WordLookup, WholeWordReadings) {
    struct Case {
        const char* lexicon;
        std::string word;
        Strings expected;
    };
    const Case cases[] = {
        {"words.txt", "walk", {"walk+Nn-Sg", "walk+V-Inf"}},
        {"words.txt", "walks", {"walk+V-3Sg"}},
        {"words.txt", "walker", {"walker+Nn-Sg"}},
        {"words.txt", "wal", {}},
        {"words.txt", "walke", {}},
        {"words.txt", "walkers", {}},
        {"words.txt", "Walk", {}},
        {"words.txt", "", {}},
        // "in" outputs echo the word, code point by code point
        {"words.txt", "hello", {"hello"}},
        {"words.txt",
         "stra\xc3\x9f"
         "e",
         {"stra\xc3\x9f"
          "e"}},
        // "??" is any character but the space
        {"patterns.txt", "xaz", {"xyz+Any"}},
        {"patterns.txt", "x\xc3\xa4z", {"xyz+Any"}},
        {"patterns.txt", "x?z", {"xyz+Any"}},
        {"patterns.txt", "x z", {}},
        // named and literal classes
        {"patterns.txt", "42", {"+Num"}},
        {"patterns.txt", "4a", {}},
        {"patterns.txt", "k5", {"k+Lit"}},
        {"patterns.txt", "kx", {}},
        // "input" stands for the consumed word
        {"patterns.txt", "Abc", {"Abc+Cap"}},
        {"patterns.txt", "abc", {}},
        // a class text is only a class, never its first character
        {"patterns.txt", ":bc", {}},
        // a multi-character text matches only as a whole
        {"patterns.txt", "qabc", {"qabc+Literal"}},
        {"patterns.txt", "qac", {}},
        // markers consume nothing
        {"patterns.txt", "mn", {"mn"}},
        {"patterns.txt", "m#n", {}},
        {"patterns.txt", "ab", {"ab+Mark"}},
        // the empty word: only non-consuming arcs lead anywhere
        {"patterns.txt", "", {"+Empty"}},
    };
    for (const auto& c : cases) {
        WordLookup lookup(lexicon(c.lexicon), nullptr);
        EXPECT_EQ(lookup.up(c.word), c.expected) << c.lexicon << " [" << c.word << "]";
    }
}

TEST(WordLookup, ConverterLowerCasesTheWord) {
    WordLookup lookup(lexicon("words.txt"), dez::afst::get_lowercase_converter());
    EXPECT_EQ(lookup.up("WALK"), (Strings{"walk+Nn-Sg", "walk+V-Inf"}));
    EXPECT_EQ(lookup.up("Hello"), (Strings{"hello"}));
    EXPECT_EQ(lookup.up("STRA\xc3\x9f"
                        "E"),
              (Strings{"stra\xc3\x9f"
                       "e"}));
    // the range form applies no converter
    EXPECT_EQ(range(lookup, "Walk on"), Pairs{});
    EXPECT_EQ(range(lookup, "walk on").size(), 2u);
}

TEST(WordLookup, LookupObjectIsReusable) {
    WordLookup lookup(lexicon("words.txt"), nullptr);
    EXPECT_EQ(lookup.up("walks"), (Strings{"walk+V-3Sg"}));
    EXPECT_EQ(lookup.up("nothing"), Strings{});
    EXPECT_EQ(lookup.up("walks"), (Strings{"walk+V-3Sg"}));
    EXPECT_THROW(lookup.up("wa\xff"), utf8::exception);
    EXPECT_EQ(lookup.up("cool"), (Strings{"cool+Adj-Std"}));
}

TEST(WordLookup, TypeAndFromTransducer) {
    WordLookup lookup(afst_test::load_lexicon("words.txt"), nullptr);
    EXPECT_EQ(lookup.type(), 1);
    EXPECT_EQ(lookup.up("god"), (Strings{"god+Nn-Sg"}));
    EXPECT_THROW(WordLookup(std::shared_ptr<AFst>(), nullptr), std::invalid_argument);
}

TEST(WordLookup, PrintResults) {
    WordLookup lookup(lexicon("words.txt"), nullptr);
    testing::internal::CaptureStdout();
    lookup.print_results("walk");
    lookup.print_results("xyz");
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "up [walk]\n  -- walk+Nn-Sg\n  -- walk+V-Inf\nup [xyz]\n");
}

TEST(WordLookup, SamePathTextGivesOneResult) {
    HandNetwork hand;
    const int s0 = hand.add_state(), s1 = hand.add_state(true), s2 = hand.add_state(true);
    hand.start(s0);
    hand.arc(s0, s1, "a", "X");
    hand.arc(s0, s2, "??", "X");
    hand.arc(s0, s2, "b", "Y");
    WordLookup lookup(hand.done(), nullptr);
    EXPECT_EQ(lookup.up("a"), (Strings{"X"}));
    EXPECT_EQ(lookup.up("b"), (Strings{"X", "Y"}));
}

TEST(WordLookup, NoStartStateAndFinalStartState) {
    HandNetwork empty;
    WordLookup none(empty.done(), nullptr);
    EXPECT_EQ(none.up("a"), Strings{});
    EXPECT_EQ(none.up(""), Strings{});
    EXPECT_EQ(range(none, "a"), Pairs{});

    HandNetwork only;
    only.start(only.add_state(true));
    WordLookup final_start(only.done(), nullptr);
    EXPECT_EQ(final_start.up(""), Strings{});
}

TEST(WordLookup, LabelsBeyondTheSymbolTextsAreSkipped) {
    HandNetwork hand;
    const int s0 = hand.add_state(), s1 = hand.add_state(true);
    hand.start(s0);
    hand.arc(s0, s1, "a", "A");
    hand.raw_arc(s0, s1, 50, 2); // input label no table holds
    hand.arc(s0, s1, "b", "B");
    hand.raw_arc(s0, s1, 2, 77); // "a" with an output label no table holds
    WordLookup lookup(hand.done(), nullptr);
    EXPECT_EQ(lookup.up("a"), (Strings{"A"}));
    EXPECT_EQ(lookup.up("b"), (Strings{"B"}));
    // the range form reads the transducer's tables: an unknown output is ""
    EXPECT_EQ(sorted(range(lookup, "a")), (Pairs{{1, ""}, {1, "A"}}));
}

TEST(WordLookup, CycleOfNonConsumingArcsEnds) {
    HandNetwork hand;
    const int s0 = hand.add_state(), s1 = hand.add_state(), s2 = hand.add_state(true);
    hand.start(s0);
    hand.arc(s0, s2, "a", "A");
    hand.arc(s0, s1, "EPS", "eps");
    hand.arc(s1, s0, "EPS", "eps");
    WordLookup lookup(hand.done(), nullptr);
    EXPECT_EQ(lookup.up("a"), (Strings{"A"}));
    EXPECT_EQ(lookup.up("b"), Strings{});
    EXPECT_FALSE(range(lookup, "a").empty());
}

// A lexicon written with arcs consuming nothing and countless ways through
// them: the whole-word walk has no step budget to run out of, so every entry
// answers, however many paths lead to it.
TEST(WordLookup, ManyPathsOfArcsConsumingNothingLoseNoReading) {
    WordLookup lookup(lexicon("epsilon_paths.txt"), nullptr);
    EXPECT_EQ(lookup.up("aaaaaaaaaa"), (Strings{"X"}));
    EXPECT_EQ(lookup.up("aaaaaaaaab"), (Strings{"aaaaaaaaab"}));
    EXPECT_EQ(lookup.up("b"), (Strings{"b"}));
    EXPECT_EQ(lookup.up("aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaab"),
              (Strings{"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaab"}));
    EXPECT_EQ(lookup.up("aaaaaaaaaaa"), Strings{});
}

// A cycle of arcs consuming nothing that adds output would spell readings
// without end: the walk goes round it a bounded number of times, keeps what
// it spelled on the way, and says so in the log.
TEST(WordLookup, CycleAddingOutputIsCutAndLogged) {
    HandNetwork hand;
    const int s0 = hand.add_state(), s1 = hand.add_state(true);
    hand.start(s0);
    hand.arc(s0, s1, "a", "x");
    hand.arc(s1, s1, "eps", "y");
    WordLookup lookup(hand.done(), nullptr);
    auto& log = dez::trelix::fixture::runtime_log();
    log.clear();
    const Strings readings = lookup.up("a");
    ASSERT_GE(readings.size(), 3u);
    EXPECT_EQ(Strings(readings.begin(), readings.begin() + 3), (Strings{"x", "xy", "xyy"}));
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].first, dez::wlog::level_warning);
    EXPECT_NE(log[0].second.find("cycle"), std::string::npos);

    // the same network without output on the cycle answers exactly, silently
    HandNetwork quiet;
    const int q0 = quiet.add_state(), q1 = quiet.add_state(true);
    quiet.start(q0);
    quiet.arc(q0, q1, "a", "eps");
    quiet.arc(q1, q1, "eps", "eps");
    quiet.arc(q1, q1, "EPS", "in");
    WordLookup exact(quiet.done(), nullptr);
    log.clear();
    EXPECT_EQ(exact.up("a"), (Strings{"", "a"}));
    EXPECT_TRUE(log.empty());
}

// A state with more arcs than the step budget before the one that matches:
// the range walk counts every arc it passes and gives up; the whole-word
// walk counts only the arcs it takes.
TEST(WordLookup, StepBudget) {
    HandNetwork hand;
    const int s0 = hand.add_state(), dead = hand.add_state(), s1 = hand.add_state(true);
    hand.start(s0);
    for (int i = 0; i < 12000; ++i)
        hand.arc(s0, dead, "b", "B");
    hand.arc(s0, s1, "a", "A");
    WordLookup lookup(hand.done(), nullptr);
    auto& log = dez::trelix::fixture::runtime_log();
    log.clear();
    EXPECT_EQ(range(lookup, "a"), Pairs{});
    ASSERT_EQ(log.size(), 1u);
    EXPECT_NE(log[0].second.find("10000 steps"), std::string::npos);
    EXPECT_EQ(lookup.up("a"), (Strings{"A"}));

    HandNetwork small;
    const int t0 = small.add_state(), tdead = small.add_state(), t1 = small.add_state(true);
    small.start(t0);
    for (int i = 0; i < 9000; ++i)
        small.arc(t0, tdead, "b", "B");
    small.arc(t0, t1, "a", "A");
    WordLookup within(small.done(), nullptr);
    EXPECT_EQ(range(within, "a"), (Pairs{{1, "A"}}));
}

TEST(WordLookupRange, EntriesAtTheBeginningOfARange) {
    struct Case {
        const char* lexicon;
        std::string text;
        Pairs expected;
    };
    const Case cases[] = {
        {"words.txt", "walk the dog", {{4, "walk+Nn-Sg"}, {4, "walk+V-Inf"}}},
        {"words.txt", "walk", {{4, "walk+Nn-Sg"}, {4, "walk+V-Inf"}}},
        {"words.txt", "walks and", {{5, "walk+V-3Sg"}}},
        {"words.txt", "walker x", {{6, "walker+Nn-Sg"}}},
        // followed directly by a letter: not at that length
        {"words.txt", "walkers", {}},
        {"words.txt", "walkway", {}},
        {"words.txt", "", {}},
        // "in" has no meaning here
        {"words.txt", "hello world", {{5, "ininininin"}}},
        {"patterns.txt", "ab cd", {{2, "ab+Mark"}}},
        {"patterns.txt", "x z", {}},
        {"patterns.txt", "qabc", {{4, "qabc+Literal"}}},
        {"patterns.txt", "qac", {}},
        {"patterns.txt", "12 apples", {{2, "+Num"}}},
    };
    for (const auto& c : cases) {
        WordLookup lookup(lexicon(c.lexicon), nullptr);
        EXPECT_EQ(sorted(range(lookup, c.text)), c.expected) << c.lexicon << " [" << c.text << "]";
    }
}

TEST(WordLookupRange, EmptyWordMarkerEndsBeforeASpace) {
    WordLookup lookup(lexicon("patterns.txt"), nullptr);
    EXPECT_EQ(range(lookup, " x"), (Pairs{{0, "+Empty"}}));
    EXPECT_EQ(range(lookup, "x"), Pairs{});
}

TEST(WordLookupRange, AtMostTwentyOneResults) {
    std::vector<std::string> lines;
    for (int i = 0; i < 30; ++i)
        lines.push_back("a:[+" + std::to_string(i) + "]");
    WordLookup lookup(afst_test::build_lexicon(lines), nullptr);
    const Pairs found = range(lookup, "a b");
    EXPECT_EQ(found.size(), 21u);
    for (const auto& [offset, text] : found) {
        EXPECT_EQ(offset, 1);
        EXPECT_EQ(text.substr(0, 1), "+");
    }
    EXPECT_EQ(lookup.up("a").size(), 30u);
}

TEST(WordLookupRange, Errors) {
    WordLookup lookup(lexicon("words.txt"), nullptr);
    const std::string text = "walk";
    try {
        lookup.up(text.data() + 2, text.data(), WordLookup::end_on_space::off);
        FAIL() << "no exception";
    } catch (const std::out_of_range& e) {
        EXPECT_STREQ(e.what(), "Invalid utf-8 iterator position");
    }
    const std::string bad = "wa\xff";
    EXPECT_THROW(range(lookup, bad), utf8::exception);
}

} // namespace

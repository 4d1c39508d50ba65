#include "core-afst/guesser_lookup.h"

#include "core-afst/afst.h"
#include "core-afst/guesser_factory.h"
#include "core-afst/guesser_lookup_session.h"
#include "core-afst/level_guard_base.h"
#include "core-afst/lookup_interface.h"
#include "lexicon_fixture.h"

#include <gtest/gtest.h>

#include <utf8.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

namespace {

using dez::afst::AFst;
using dez::afst::GuesserFactory;
using dez::afst::GuesserLookup;
using dez::afst::GuesserLookupSession;
using dez::afst::LevelGuardBase;
using dez::afst::ResultEntry;
using dez::afst::StackItem;
using Strings = std::vector<std::string>;

// A guesser from tests/data/guessers/<name>: "FROM TO INPUT OUTPUT" arcs in
// arc order, "final S ..." lines, comments "# ..."; state 0 is the start.
std::shared_ptr<AFst> guesser(const std::string& name) {
    static std::map<std::string, std::shared_ptr<AFst>> cache;
    auto& slot = cache[name];
    if (slot)
        return slot;
    const std::string path = std::string(TRELIX_TEST_DATA) + "/guessers/" + name;
    std::ifstream file(path);
    if (!file)
        throw std::runtime_error("missing fixture " + path);
    struct Arc {
        int from, to;
        std::string input, output;
    };
    std::vector<Arc> arcs;
    std::set<int> finals;
    int last_state = 0;
    for (std::string line; std::getline(file, line);) {
        if (line.empty() || line.rfind("# ", 0) == 0)
            continue;
        std::istringstream fields(line);
        if (line.rfind("final", 0) == 0) {
            std::string word;
            fields >> word;
            for (int state; fields >> state;) {
                finals.insert(state);
                last_state = std::max(last_state, state);
            }
            continue;
        }
        Arc arc;
        if (!(fields >> arc.from >> arc.to >> arc.input >> arc.output))
            throw std::runtime_error("bad fixture line: " + line);
        last_state = std::max({last_state, arc.from, arc.to});
        arcs.push_back(arc);
    }
    afst_test::HandNetwork network;
    for (int state = 0; state <= last_state; ++state)
        network.add_state(finals.count(state) > 0);
    network.start(0);
    for (const auto& arc : arcs)
        network.arc(arc.from, arc.to, arc.input, arc.output);
    slot = std::make_shared<AFst>(network.done());
    return slot;
}

std::shared_ptr<AFst> lexicon() {
    static const auto words = std::make_shared<AFst>(afst_test::load_lexicon("guesser_words.txt"));
    return words;
}

std::vector<ResultEntry> session_entries(const std::string& fixture, const std::string& word) {
    GuesserLookupSession session(guesser(fixture), nullptr);
    return session.lookup(word);
}

std::string alternating(std::size_t length) {
    std::string text;
    for (std::size_t i = 0; i < length; ++i)
        text += (i % 2 == 0) ? 'a' : 'b';
    return text;
}

struct Expected {
    std::string output;
    double score;
    int fix_count;
};

void expect_entries(const std::vector<ResultEntry>& entries,
                    const std::vector<Expected>& expected) {
    ASSERT_EQ(entries.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(entries[i].tag, "+guess");
        EXPECT_EQ(entries[i].output, expected[i].output);
        EXPECT_DOUBLE_EQ(entries[i].score, expected[i].score);
        EXPECT_EQ(entries[i].fix_count, expected[i].fix_count);
    }
}

TEST(GuesserAllLowecase, LettersOnlyLowerCase) {
    const std::pair<std::string, bool> cases[] = {
        {"walking", true},
        {"", true},
        {"stra\xc3\x9f"
         "e",
         true},
        {"\xc3\xa9t\xc3\xa9", true},
        {"Walking", false},
        {"walk2", false},
        {"e-mail", false},
        {"two words", false},
        {"\xc3\x89T\xc3\x89", false},
    };
    for (const auto& [word, expected] : cases)
        EXPECT_EQ(dez::afst::all_lowecase(word), expected) << word;
    EXPECT_THROW(dez::afst::all_lowecase("wa\xff"), utf8::exception);
    EXPECT_THROW(dez::afst::all_lowecase("wa\xc3"), utf8::exception);
}

TEST(GuesserFactory, CutsRunsToTwo) {
    const std::pair<std::string, std::string> cases[] = {
        {"walkiiing", "walkiing"},
        {"goood", "good"},
        {"aaa", "aa"},
        {"aa", "aa"},
        {"a", "a"},
        {"", ""},
        {"abab", "abab"},
        {"\xc3\x9f\xc3\x9f\xc3\x9f", "\xc3\x9f\xc3\x9f"},
    };
    for (const auto& [word, expected] : cases)
        EXPECT_EQ(GuesserFactory(word.data(), word.data() + word.size()).text(), expected) << word;
    const std::string bad = "ab\xff";
    EXPECT_THROW(GuesserFactory(bad.data(), bad.data() + bad.size()), utf8::exception);
}

TEST(GuesserFactory, ReplaceAndUndo) {
    const std::string word = "abcdef";
    GuesserFactory text(word.data(), word.data() + word.size());
    text.replace(2, 3, "");
    EXPECT_EQ(text.text(), "abdef");
    // a second change at the same position keeps the first record
    text.replace(2, 3, "");
    EXPECT_EQ(text.text(), "abef");
    text.replace(3, 4, "xy");
    EXPECT_EQ(text.text(), "abexy");
    ASSERT_EQ(text.replacements().size(), 2u);
    EXPECT_EQ(text.replacements().at(2).tail, "cdef");
    EXPECT_EQ(text.replacements().at(2).old_end, 6u);
    text.undo(3);
    EXPECT_EQ(text.text(), "abef");
    text.undo(2);
    EXPECT_EQ(text.text(), "abcdef");
    EXPECT_TRUE(text.replacements().empty());
    text.undo(2); // nothing recorded: nothing changes
    EXPECT_EQ(text.text(), "abcdef");
    EXPECT_THROW(text.replace(4, 3, ""), std::out_of_range);
    EXPECT_THROW(text.replace(5, 7, ""), std::out_of_range);
}

TEST(GuesserLevels, ResetPreviousLevelPaths) {
    // inputs: 0 | 1 1 | 2 2 2, newest last
    StackItem levels[6];
    const std::size_t inputs[6] = {0, 1, 1, 2, 2, 2};
    for (int i = 0; i < 6; ++i) {
        levels[i].input = inputs[i];
        levels[i].match_count = 3;
        levels[i].fix_flag = true;
        if (i > 0) {
            levels[i].previous = &levels[i - 1];
            levels[i - 1].next = &levels[i];
        }
    }
    LevelGuardBase::reset_previous_level_paths(levels[5]);
    const bool flags[6] = {true, true, true, true, false, false};
    const int counts[6] = {3, 0, 0, 3, 3, 3};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(levels[i].fix_flag, flags[i]) << i;
        EXPECT_EQ(levels[i].match_count, counts[i]) << i;
    }
    EXPECT_FALSE(LevelGuardBase::has_different_input_iterator(levels[5]));
    EXPECT_TRUE(LevelGuardBase::has_different_input_iterator(levels[3]));
    EXPECT_FALSE(LevelGuardBase::has_different_input_iterator(levels[0]));
}

TEST(GuesserSession, EntriesAndScores) {
    struct Case {
        const char* fixture;
        std::string word;
        std::vector<Expected> entries;
    };
    const Case cases[] = {
        // a swap at byte 2 of 6 and a deletion at byte 4 (leaving 5)
        {"swap_delete.txt",
         "abdcef",
         {{"abdcf", (5 * 100 + 4 + 60) / 6.0 / 100, 1},
          {"abcdef", (6 * 100 + 2 + 80) / 7.0 / 100, 1}}},
        // read without fixes; backing out of it, a swap at 2 and a deletion
        // at 4 reach the other output
        {"swap_delete.txt",
         "abcdef",
         {{"abcdef", 1.0, 0}, {"abdcf", (4 * 100 + 2 + 80 + 4 + 60) / 6.0 / 100, 2}}},
        {"walk.txt", "walk", {{"walk", 1.0, 0}}},
        {"walk.txt", "wlak", {{"walk", (4 * 100 + 1 + 80) / 5.0 / 100, 1}}},
        {"walk.txt", "wxalk", {{"walk", (4 * 100 + 1 + 60) / 5.0 / 100, 1}}},
        // the "a" arc is ignored at byte 1
        {"walk.txt", "wlk", {{"walk", (3 * 100 + 1 + 30) / 4.0 / 100, 1}}},
        // no fix at the first position
        {"walk.txt", "xwalk", {}},
        {"walk.txt", "awlk", {}},
        // "??" counts as read, so nothing is fixed there
        {"walk_any.txt", "wxalk", {}},
        {"walk_any.txt", "walk", {{"walk", 1.0, 0}}},
        // runs are cut to two before the walk
        {"stretch.txt", "walkiiiiing", {{"walking", 1.0, 0}}},
        {"stretch.txt", "walkiing", {{"walking", 1.0, 0}}},
        // one extra final arc, behind "eps" and "EPS": the first find of each
        {"one_more_arc.txt",
         "talk",
         {{"talks", (4 * 100 + 20) / 5.0 / 100, 1}, {"talking", (4 * 100 + 20) / 5.0 / 100, 1}}},
        // not when something is recorded already
        {"one_more_arc.txt", "walk", {{"walk", 1.0, 0}}},
        {"one_more_arc.txt", "balk", {{"balks", (4 * 100 + 20) / 5.0 / 100, 1}, {"balk", 1.0, 0}}},
        {"markers.txt", "on", {{"on+Marked", 1.0, 0}}},
        {"empty_word.txt", "", {{"none", 1.0, 0}, {"marker", 1.0, 0}}},
        {"first_ranked.txt", "gorp", {{"gorpy", 1.0, 0}, {"good", 1.0, 0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.fixture) + " " + c.word);
        expect_entries(session_entries(c.fixture, c.word), c.entries);
    }
}

TEST(GuesserSession, TextAndFixListsAfterTheWalk) {
    GuesserLookupSession session(guesser("swap_delete.txt"), nullptr);
    session.lookup("abdcef");
    ASSERT_TRUE(session.text());
    EXPECT_EQ(session.text()->text(), "abdcef");
    EXPECT_TRUE(session.text()->replacements().empty());
    EXPECT_EQ(session.applied_fixes(), std::vector<int32_t>(7, 0));
    EXPECT_EQ(session.newest(), nullptr);
    EXPECT_EQ(session.oldest(), nullptr);
}

TEST(GuesserSession, NoStartState) {
    afst_test::HandNetwork network;
    network.add_state(true);
    GuesserLookupSession session(std::make_shared<AFst>(network.done()), nullptr);
    EXPECT_TRUE(session.lookup("walk").empty());
    EXPECT_FALSE(session.text());
}

TEST(GuesserSession, UnknownLabelsReadEmpty) {
    afst_test::HandNetwork network;
    for (int state = 0; state < 4; ++state)
        network.add_state(state >= 2);
    network.start(0);
    network.raw_arc(0, 3, 999, 999); // never read
    network.arc(0, 1, "a", "x");
    network.raw_arc(1, 2, 0, 999); // "eps" with an output the table lacks
    GuesserLookupSession session(std::make_shared<AFst>(network.done()), nullptr);
    expect_entries(session.lookup("a"), {{"x", 1.0, 0}});
}

TEST(GuesserSession, AcyclicLongWordWithinTheBudget) {
    GuesserLookupSession session(guesser("loop.txt"), nullptr);
    expect_entries(session.lookup(alternating(49)), {{"loop", 1.0, 0}});
    EXPECT_LT(session.level_pushes(), GuesserLookupSession::max_level_pushes);
}

TEST(GuesserSession, CyclesWithoutReadingAreCut) {
    // "a" stops before "c": the extra final arc is searched through an
    // "EPS" cycle
    expect_entries(session_entries("cycles.txt", "a"), {{"ac", (100 + 20) / 2.0 / 100, 1}});

    // "eps", "EPS" and marker cycles on every position
    GuesserLookupSession session(guesser("cycles.txt"), nullptr);
    const auto entries = session.lookup("ab");
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries.front().output, "ab");
    EXPECT_DOUBLE_EQ(entries.front().score, 1.0);
    EXPECT_LE(session.level_pushes(), GuesserLookupSession::max_level_pushes);
}

TEST(GuesserSession, DeepestWalkStaysOnTheStack) {
    // the first path goes a full non-reading chain deep on all 49 positions
    GuesserLookupSession session(guesser("deep_cycles.txt"), nullptr);
    const auto entries = session.lookup(alternating(49));
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries.front().output, "loop");
    EXPECT_EQ(session.level_pushes(), GuesserLookupSession::max_level_pushes);
}

TEST(GuesserLookup, Results) {
    struct Case {
        const char* fixture;
        bool with_lexicon;
        std::string word;
        Strings expected;
    };
    const Case cases[] = {
        // the output begins with the text
        {"walk.txt", true, "walk", {"walk+Nn-Sg+guess+nf", "walk+V-Inf+guess+nf"}},
        {"walk.txt", false, "walk", {"walk", "walk+guess"}},
        // it does not
        {"walk.txt", true, "wlak", {"walk+Nn-Sg+guess+nf", "walk+V-Inf+guess+nf"}},
        {"walk.txt", false, "wlak", {"walk+guess"}},
        // the swap ranks before the deletion
        {"swap_delete.txt", false, "abdcef", {"abcdef+guess"}},
        // the first entry begins with the text but the lexicon lacks it
        {"first_ranked.txt", true, "gorp", {}},
        {"first_ranked.txt", false, "gorp", {"gorpy", "gorpy+guess"}},
        // no fix-free entry is passed over for one with a fix
        {"one_more_arc.txt", true, "talk", {"talk+V-3Sg+guess+nf"}},
        {"one_more_arc.txt", false, "balk", {"balk", "balk+guess"}},
        {"walk.txt", true, "xyz", {}},
        // words that are not guessed
        {"walk.txt", false, "Walk", {}},
        {"walk.txt", false, "walk2", {}},
        {"walk.txt", false, "e-mail", {}},
        {"loop.txt", false, alternating(50), {}},
        {"loop.txt", false, alternating(49), {"loop+guess"}},
        {"empty_word.txt", false, "", {"none", "none+guess"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.fixture) + " " + c.word);
        GuesserLookup lookup(guesser(c.fixture), c.with_lexicon ? lexicon() : nullptr, nullptr);
        EXPECT_EQ(lookup.up(c.word), c.expected);
    }
}

TEST(GuesserLookup, TypeAndConstruction) {
    GuesserLookup lookup(guesser("walk.txt"), lexicon(), nullptr);
    EXPECT_EQ(lookup.type(), 7);
    EXPECT_EQ(dez::afst::lookup_mode_names()[lookup.type()], "guesser");
    EXPECT_NE(lookup.word_lookup(), nullptr);
    EXPECT_EQ(GuesserLookup(guesser("walk.txt"), nullptr, nullptr).word_lookup(), nullptr);
    EXPECT_THROW(GuesserLookup(nullptr, lexicon(), nullptr), std::invalid_argument);
    EXPECT_THROW(lookup.up("wa\xc3"), utf8::exception);
}

TEST(GuesserLookup, EmptyGuesser) {
    afst_test::HandNetwork network;
    network.add_state(true);
    GuesserLookup lookup(std::make_shared<AFst>(network.done()), lexicon(), nullptr);
    EXPECT_TRUE(lookup.up("walk").empty());
}

TEST(GuesserLookup, PrintResults) {
    GuesserLookup lookup(guesser("walk.txt"), nullptr, nullptr);
    testing::internal::CaptureStdout();
    lookup.print_results("walk");
    lookup.print_results("Walk");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "  -g- walk\n  -g- walk+guess\n");
}

TEST(GuesserFilter, RankOrder) {
    const GuesserLookup lookup(guesser("walk.txt"), nullptr, nullptr);
    const auto entry = [](const std::string& output, double score, int fixes) {
        return ResultEntry{"+guess", output, score, fixes};
    };
    // fewer fixes first, whatever the score
    EXPECT_EQ(dez::afst::filter(lookup, "zz", {entry("x", 0.99, 2), entry("y", 0.5, 1)}),
              Strings{"y+guess"});
    // then the higher score
    EXPECT_EQ(dez::afst::filter(lookup, "zz",
                                {entry("p", 0.8, 1), entry("q", 0.9, 1), entry("r", 0.85, 1)}),
              Strings{"q+guess"});
    EXPECT_TRUE(dez::afst::filter(lookup, "zz", {}).empty());
}

TEST(GuesserFilter, EqualRanksKeepTheirOrder) {
    // enough entries that an unstable sort moves equal ones about
    const GuesserLookup lookup(guesser("walk.txt"), nullptr, nullptr);
    struct Case {
        const char* shape;
        int fix_count_before; // fixes of the entries before `group_start`
        int group_start;      // where the entries with one fix begin
        int higher_every;     // every such entry gets a higher score (0: none)
        std::string first;
    };
    const Case cases[] = {
        {"all equal", 1, 0, 0, "o0"},
        {"every third scores higher", 1, 0, 3, "o0"},
        {"the best group at the back", 2, 20, 0, "o20"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shape);
        std::vector<ResultEntry> entries;
        for (int i = 0; i < 40; ++i) {
            const bool higher = c.higher_every > 0 && i % c.higher_every == 0;
            entries.push_back({"+guess", "o" + std::to_string(i), higher ? 0.9 : 0.5,
                               i < c.group_start ? c.fix_count_before : 1});
        }
        EXPECT_EQ(dez::afst::filter(lookup, "zz", entries), Strings{c.first + "+guess"});
    }
}

} // namespace

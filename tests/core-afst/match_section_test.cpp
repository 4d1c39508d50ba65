#include "core-afst/match_section.h"

#include "core-afst/afst.h"
#include "core-afst/results_memento_v2.h"
#include "core-afst/word_lookup.h"
#include "lexicon_fixture.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace {

using dez::afst::AFst;
using dez::afst::ResultsMementoV2;
using Component = std::tuple<int64_t, int64_t, std::string>;
using Segmentation = std::vector<Component>;

const AFst& compounds() {
    static const auto afst = std::make_shared<AFst>(afst_test::load_lexicon("compounds.txt"));
    return *afst;
}

const AFst& tags() {
    static const auto afst = std::make_shared<AFst>(afst_test::load_lexicon("tags.txt"));
    return *afst;
}

// Many short entries: the number of segmentations of a long word explodes.
const AFst& short_entries() {
    static const auto afst = std::make_shared<AFst>(
        afst_test::build_lexicon({"a:a[+X]", "aa:aa[+X]", "aaa:aaa[+X]", "aaaa:aaaa[+X]"}));
    return *afst;
}

std::vector<Segmentation> results(const ResultsMementoV2& memento) {
    std::vector<Segmentation> all;
    for (const auto& segmentation : memento.results) {
        Segmentation parts;
        for (const auto& part : segmentation) {
            EXPECT_EQ(part.score, 100);
            parts.emplace_back(part.start, part.end, part.analysis);
        }
        all.push_back(parts);
    }
    return all;
}

struct Search {
    bool complete;
    std::vector<Segmentation> found;
};

Search search(const AFst& lexicon, const std::string& word, int32_t limit, bool numbers = false,
              long budget = dez::afst::compound_search_step_limit) {
    ResultsMementoV2 memento;
    const char* begin = word.data();
    const char* end = begin + word.size();
    const bool complete = numbers ? dez::afst::utf8_iterator::match_section_skip_numbers(
                                        memento, lexicon, begin, begin, end, limit, budget)
                                  : dez::afst::utf8_iterator::match_section(
                                        memento, lexicon, begin, begin, end, limit, budget);
    if (!complete) {
        EXPECT_TRUE(memento.parts.empty());
    }
    return {complete, results(memento)};
}

TEST(MatchSection, Segmentations) {
    struct Case {
        std::string word;
        std::vector<Segmentation> expected;
    };
    const Case cases[] = {
        // the component after a linking "s" or "-" starts one byte on
        {"arbeitsamt", {{{0, 6, "arbeit+N"}, {7, 10, "amt+N"}}}},
        {"arbeit-amt", {{{0, 6, "arbeit+N"}, {7, 10, "amt+N"}}}},
        // a lexicon word is a segmentation of one component
        {"arbeit", {{{0, 6, "arbeit+N"}}}},
        // longer candidates first
        {"torhausamt",
         {{{0, 7, "torhaus+N"}, {7, 10, "amt+N"}},
          {{0, 3, "tor+N"}, {3, 7, "haus+N"}, {7, 10, "amt+N"}}}},
        {"staubecken",
         {{{0, 5, "staub+N"}, {5, 10, "ecke+N+Pl"}}, {{0, 4, "stau+N"}, {4, 10, "becken+N"}}}},
        // "sand" is tried, "and" after the linking "s" has half the score
        // and is passed over
        {"bausand", {{{0, 3, "bau+N"}, {3, 7, "sand+N"}}}},
        // a prefix keeps its place, cleared, as first or second component
        {"urwald", {{{0, 2, ""}, {2, 6, "wald+N"}}}},
        {"amturwald", {{{0, 3, "amt+N"}, {3, 5, ""}, {5, 9, "wald+N"}}}},
        // from the third component on it is dropped
        {"amtamturwald", {}},
        // an affix is cleared at any depth
        {"amtamtheit", {{{0, 3, "amt+N"}, {3, 6, "amt+N"}, {6, 10, ""}}}},
        // genitive and definite words never come first, later they may
        {"tageszeit", {}},
        {"dashaus", {}},
        {"hausdashaus", {{{0, 4, "haus+N"}, {4, 7, "das+Det+def"}, {7, 11, "haus+N"}}}},
        // number words
        {"zweiundzwanzig",
         {{{0, 4, "zwei+Num-Std"}, {4, 7, "und+Conj-Coord"}, {7, 14, "zwanzig+Num-Std"}}}},
        {"amtzwanzig", {}},
        {"zwanzigamt", {{{0, 7, "zwanzig+Num-Std"}, {7, 10, "amt+N"}}}},
        {"gro\xc3\x9f"
         "amt",
         {{{0, 5, "gro\xc3\x9f+Adj"}, {5, 8, "amt+N"}}}},
        {"xamt", {}},
        {"amtx", {}},
        {"", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.word);
        const Search found = search(compounds(), c.word, 12);
        EXPECT_TRUE(found.complete);
        EXPECT_EQ(found.found, c.expected);
    }
}

TEST(MatchSection, DepthLimit) {
    std::string thirteen, fourteen;
    for (int i = 0; i < 13; ++i)
        thirteen += "amt";
    fourteen = thirteen + "amt";

    const Search at_limit = search(compounds(), thirteen, 12);
    EXPECT_TRUE(at_limit.complete);
    ASSERT_EQ(at_limit.found.size(), 1u);
    EXPECT_EQ(at_limit.found[0].size(), 13u);

    // the fourteenth component stops the whole search
    const Search beyond = search(compounds(), fourteen, 12);
    EXPECT_FALSE(beyond.complete);
    EXPECT_TRUE(beyond.found.empty());

    // what was recorded before the limit was hit stays
    const Search early = search(compounds(), "torhausamt", 1);
    EXPECT_FALSE(early.complete);
    EXPECT_EQ(early.found, (std::vector<Segmentation>{{{0, 7, "torhaus+N"}, {7, 10, "amt+N"}}}));

    const Search none = search(compounds(), "arbeitsamt", 0);
    EXPECT_FALSE(none.complete);
    EXPECT_TRUE(none.found.empty());
    EXPECT_TRUE(search(compounds(), "arbeit", 0).complete);
}

// The search as a whole is bounded, not only each walk.
TEST(MatchSection, StepBudget) {
    // no depth limit in reach: only the budget ends it
    const std::string word(60, 'a');
    const Search bounded = search(short_entries(), word, 100);
    EXPECT_FALSE(bounded.complete);
    EXPECT_GT(bounded.found.size(), 1u);
    EXPECT_LT(bounded.found.size(),
              static_cast<std::size_t>(dez::afst::compound_search_step_limit));
    for (const auto& segmentation : bounded.found) {
        EXPECT_EQ(std::get<1>(segmentation.back()), 60);
    }

    // a small budget stops an ordinary search; the default one does not
    EXPECT_TRUE(search(compounds(), "torhausamt", 12).complete);
    const Search cut = search(compounds(), "torhausamt", 12, false, 5);
    EXPECT_FALSE(cut.complete);
    EXPECT_LT(cut.found.size(), 2u);
}

TEST(MatchSection, NumberSkipping) {
    struct Case {
        const AFst* lexicon;
        std::string word;
        std::vector<Segmentation> expected;
    };
    const Case cases[] = {
        {&tags(),
         "greatday2021",
         {{{0, 5, "great+Adj"}, {5, 8, "day+Nn-Sg"}, {8, 12, "2021+Num"}}}},
        {&tags(),
         "great2021day",
         {{{0, 5, "great+Adj"}, {5, 9, "2021+Num"}, {9, 12, "day+Nn-Sg"}}}},
        // '_' joins the component before it
        {&tags(), "great_day", {{{0, 6, "great+Adj"}, {6, 9, "day+Nn-Sg"}}}},
        {&tags(), "great__2_day", {{{0, 9, "great+Adj"}, {9, 12, "day+Nn-Sg"}}}},
        {&tags(), "great_", {{{0, 6, "great+Adj"}}}},
        {&tags(), "great2_0", {{{0, 5, "great+Adj"}, {5, 8, "2_0+Num"}}}},
        // a leading run is not skipped
        {&tags(), "2021great", {}},
        {&tags(), "greatx2021", {}},
        // a run that reaches the end completes the segmentation without the
        // number-word rule
        {&compounds(),
         "amtzwanzig2",
         {{{0, 3, "amt+N"}, {3, 10, "zwanzig+Num-Std"}, {10, 11, "2+Num"}}}},
        {&compounds(), "amtzwanzig", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.word);
        const Search found = search(*c.lexicon, c.word, 6, true);
        EXPECT_TRUE(found.complete);
        EXPECT_EQ(found.found, c.expected);
    }
    // without skipping, digits end the search
    EXPECT_TRUE(search(tags(), "greatday2021", 6).found.empty());
}

// Candidates that rank equal are tried in the order the walk found them.
TEST(MatchSection, EqualCandidatesInWalkOrder) {
    std::vector<std::string> lines = {"amt:amt[+N]"};
    for (int i = 10; i < 34; ++i)
        lines.push_back("band:band[+T" + std::to_string(i) + "]");
    const auto network = afst_test::build_lexicon(lines);
    const AFst lexicon(network);

    dez::afst::WordLookup words(network, nullptr);
    const std::string band = "band";
    std::vector<std::string> walk_order;
    for (const auto& [end, analysis] :
         words.up(band.data(), band.data() + band.size(), dez::afst::WordLookup::end_on_space::off))
        walk_order.push_back(analysis);
    ASSERT_EQ(walk_order.size(), 21u); // the range form stops there

    const Search found = search(lexicon, "bandamt", 12);
    ASSERT_EQ(found.found.size(), 24u);
    for (std::size_t i = 0; i < walk_order.size(); ++i)
        EXPECT_EQ(std::get<2>(found.found[i][0]), walk_order[i]) << i;
}

TEST(MatchSection, SectionAndBase) {
    // offsets count from the base, the search starts at the section
    const std::string word = "##greatday";
    ResultsMementoV2 memento;
    const char* begin = word.data();
    ASSERT_TRUE(dez::afst::utf8_iterator::match_section(memento, tags(), begin + 2, begin,
                                                        begin + word.size(), 6));
    EXPECT_EQ(results(memento),
              (std::vector<Segmentation>{{{2, 7, "great+Adj"}, {7, 10, "day+Nn-Sg"}}}));
}

TEST(MatchSection, MalformedUtf8) {
    const std::string word = "amt\xff";
    ResultsMementoV2 memento;
    EXPECT_ANY_THROW(dez::afst::utf8_iterator::match_section(
        memento, compounds(), word.data(), word.data(), word.data() + word.size(), 12));
}

} // namespace

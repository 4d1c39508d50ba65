#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <thread>
#include <utility>

#include "analysis/lid.h"
#include "analysis/lid_lexicon.h"
#include "analysis/lid_word_walk.h"
#include "core-afst/word_lookup.h"
#include "engine/engine.h"
#include "tests/analysis/lid_fixture.h"
#include "tools/lid/heldout_set.h"

namespace dez::lid {
namespace {

// The lid.fst generated at build time from the translated manual pages,
// against the sentences of the pages kept out of its word lists.
class LidHeldoutTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const std::string folder = TRELIX_LID_DATA;
        engine = std::make_shared<dez::trelix::Engine>(
            fixture::options_of({{"root_path", folder}, {"morfex", folder}}));
        lines = trelix_tools::read_heldout_set(folder + "/heldout.tsv");
    }
    static void TearDownTestSuite() { engine.reset(); }

    static inline std::shared_ptr<dez::trelix::Engine> engine;
    static inline std::vector<trelix_tools::HeldoutLine> lines;
};

TEST_F(LidHeldoutTest, IdentifiesHeldOutSentencesOfEveryLanguage) {
    dez::trelix::Lid lid(engine.get(), fixture::options_of({{"long_names", "false"}}));
    std::map<std::string, std::pair<int, int>> results; // code -> (right, all)
    for (const auto& line : lines) {
        auto& [right, all] = results[line.code];
        right += lid.lid(line.text.data(), line.text.size()) == line.code;
        ++all;
    }
    ASSERT_GE(results.size(), 20u);
    int right_total = 0;
    int all_total = 0;
    for (const auto& [code, counts] : results) {
        EXPECT_GT(counts.first, 0) << code;
        // The weakest languages (little prose, close neighbours) stay above this.
        EXPECT_GE(counts.first, counts.second * 7 / 10)
            << code << ": " << counts.first << "/" << counts.second;
        right_total += counts.first;
        all_total += counts.second;
    }
    EXPECT_GE(right_total, all_total * 85 / 100) << right_total << "/" << all_total;
}

TEST_F(LidHeldoutTest, WordTableAnswersAsTheWordLookup) {
    const auto lexicon = engine->get_language_identifier_data();
    const auto table = LidWordTable::of(lexicon);
    ASSERT_NE(table, nullptr);
    dez::afst::WordLookup reference(lexicon, nullptr);
    std::size_t found = 0;
    for (std::size_t i = 0; i < lines.size(); i += 7) {
        WordWalk walk(lines[i].text.data(), lines[i].text.size());
        std::string word;
        char32_t closing = 0;
        bool at_end = false;
        while (walk.next(word, closing, at_end)) {
            const std::vector<std::string> outputs = reference.up(word);
            const LidWordTable::Votes votes = table->find(word);
            ASSERT_EQ(votes.known, !outputs.empty()) << word;
            if (!votes.known)
                continue;
            ++found;
            ASSERT_EQ(std::size_t(votes.end - votes.begin), outputs.size()) << word;
            for (std::size_t v = 0; v < outputs.size(); ++v)
                EXPECT_EQ(std::string(votes.begin[v].code, 2) +
                              std::to_string(votes.begin[v].score),
                          outputs[v])
                    << word;
        }
    }
    EXPECT_GT(found, 1000u);
}

TEST_F(LidHeldoutTest, OneIdentifierServesSeveralThreads) {
    dez::trelix::Lid lid(engine.get(), fixture::options_of({{"long_names", "false"}}));
    std::vector<std::string> expected;
    for (std::size_t i = 0; i < lines.size(); i += 5)
        expected.push_back(lid.lid(lines[i].text.data(), lines[i].text.size()));
    std::vector<int> mismatches(4, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            for (std::size_t i = 0, n = 0; i < lines.size(); i += 5, ++n)
                mismatches[t] += lid.lid(lines[i].text.data(), lines[i].text.size()) != expected[n];
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(mismatches, std::vector<int>(4, 0));
}

TEST_F(LidHeldoutTest, SectionsOfTwoLanguages) {
    std::map<std::string, std::string> first;
    for (const auto& line : lines)
        first.emplace(line.code, line.text);
    const std::string text =
        first.at("DE") + " " + first.at("DE") + "\n\n" + first.at("FR") + " " + first.at("FR");
    dez::trelix::Lid lid(engine.get(), fixture::options_of({}));
    const nlohmann::json sections =
        nlohmann::json::parse(lid.language_sections(text.data(), text.size()));
    ASSERT_EQ(sections.size(), 2u) << sections.dump();
    EXPECT_EQ(sections[0]["language"], "german");
    EXPECT_EQ(sections[1]["language"], "french");
    EXPECT_EQ(sections[1]["end_offset"], text.size());
}

} // namespace
} // namespace dez::lid

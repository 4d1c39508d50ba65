#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "analysis/hmm_tagger.h"
#include "analysis/hmm_viterbi.h"
#include "document/token_flags.h"
#include "foundation/exception.h"
#include "tests/analysis/hmm_fixture.h"
#include "tests/document/blackboard_fixture.h"

namespace dez::trelix {
namespace {

using core::hmm::Resource;
using fixture::give;
using fixture::HmmTables;
using fixture::parts_of_speech;
using fixture::tag;
using fixture::token_at;

// "w1 w2 ... wn".
std::string words(int n) {
    std::string text;
    for (int k = 1; k <= n; ++k)
        text += (k > 1 ? " w" : "w") + std::to_string(k);
    return text;
}

void tag_sentence(const Resource& resource, Sentence& sentence) {
    core::hmm::detail::CalculatePermutation window(&resource);
    core::hmm::hmm_build_candidates(sentence.annotations.head, nullptr, window);
    window.apply_viterbi_algo();
    EXPECT_TRUE(window.elements.empty());
}

// Of two tags, the one with the lower id and the other.
struct Ordered {
    std::string low;
    std::string high;
};
Ordered ordered(const std::string& a, const std::string& b) {
    return tag(a) < tag(b) ? Ordered{a, b} : Ordered{b, a};
}

TEST(HmmTagger, OneTokenIsDecidedByStartTimesEmission) {
    const Ordered pair = ordered("Nn-Std", "V-Fin");
    struct Case {
        const char* name;
        HmmTables tables;
        std::string expected;
    };
    const Case cases[] = {
        {"start", HmmTables().start(pair.low, 0.2f).start(pair.high, 0.8f), pair.high},
        {"emission of the word",
         HmmTables().start(pair.low, 0.5f).start(pair.high, 0.5f).emission("run", pair.low, 0.9f),
         pair.low},
        {"emission of unknown words",
         HmmTables().emission("dummy", pair.high, 0.5f).emission("dummy", pair.low, 0.25f),
         pair.high},
        {"the word's own entry before the unknown-word entry",
         HmmTables()
             .emission("run", pair.low, 0.5f)
             .emission("dummy", pair.low, 1e-6f)
             .emission("dummy", pair.high, 0.25f),
         pair.low},
        {"equal scores: the lower tag id", HmmTables().start(pair.low, 0.5f).start(pair.high, 0.5f),
         pair.low},
        {"no entries at all: the lower tag id", HmmTables(), pair.low},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<Sentence> sentence(fixture::make_sentence("run"));
        give(token_at(*sentence, 0), {pair.high.c_str(), pair.low.c_str()});
        tag_sentence(c.tables.resource, *sentence);
        EXPECT_EQ(parts_of_speech(*token_at(*sentence, 0)), c.expected);
    }
}

TEST(HmmTagger, OnEqualCandidatesTheLaterPreviousReadingWins) {
    // Both readings of the first token lead to the second equally well; the
    // one scored later is kept, whatever its tag id.
    const Ordered pair = ordered("Adj-Std", "V-Fin");
    struct Case {
        std::vector<std::string> first;
        std::string expected;
    };
    const Case cases[] = {{{pair.low, pair.high}, pair.high}, {{pair.high, pair.low}, pair.low}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        std::unique_ptr<Sentence> sentence(fixture::make_sentence("big run"));
        give(token_at(*sentence, 0), {c.first[0].c_str(), c.first[1].c_str()});
        give(token_at(*sentence, 1), {"Nn-Std"});
        HmmTables tables;
        tables.start(pair.low, 0.5f)
            .start(pair.high, 0.5f)
            .transition(pair.low, "Nn-Std", 0.5f)
            .transition(pair.high, "Nn-Std", 0.5f);
        tag_sentence(tables.resource, *sentence);
        EXPECT_EQ(parts_of_speech(*token_at(*sentence, 0)), c.expected);
    }
}

TEST(HmmTagger, TransitionsChainTheTokens) {
    HmmTables tables;
    tables.start("Det-Def", 0.9f)
        .start("V-Fin", 0.9f)
        .transition("Det-Def", "Nn-Std", 0.9f)
        .transition("Det-Def", "V-Fin", 0.01f);
    std::unique_ptr<Sentence> sentence(fixture::make_sentence("the run"));
    give(token_at(*sentence, 0), {"Det-Def"});
    give(token_at(*sentence, 1), {"V-Fin", "Nn-Std"});
    tag_sentence(tables.resource, *sentence);
    EXPECT_EQ(parts_of_speech(*token_at(*sentence, 1)), "Nn-Std");
}

// Tokens carry "Nn-Std" except the probe, which may be "Nn-Std" or "V-Fin":
// the start table favours "V-Fin", the transition from the token before
// favours "Nn-Std". The probe is tagged "V-Fin" exactly when it opens a
// window.
TEST(HmmTagger, WindowsCloseAtPunctuationFromTheThirtiethTokenOrAtTheFiftieth) {
    HmmTables tables;
    tables.start("V-Fin", 0.9f)
        .start("Nn-Std", 1e-6f)
        .transition("Nn-Std", "Nn-Std", 0.9f)
        .transition("Punct", "Nn-Std", 0.9f)
        .transition("V-Fin", "Nn-Std", 0.9f)
        .transition("Nn-Std", "V-Fin", 1e-9f)
        .transition("Punct", "V-Fin", 1e-9f);
    struct Case {
        const char* name;
        int tokens;
        int punctuation; // 1-based, 0 for none
        int probe;       // 1-based
        const char* expected;
    };
    const Case cases[] = {
        {"35 tokens, punctuation 31st: 31 + 4", 35, 31, 32, "V-Fin"},
        {"punctuation 30th closes", 35, 30, 31, "V-Fin"},
        {"punctuation 29th does not", 35, 29, 30, "Nn-Std"},
        {"60 tokens without punctuation: 50 + 10", 60, 0, 51, "V-Fin"},
        {"the 50th token is still in the first window", 60, 0, 50, "Nn-Std"},
        {"the second window closes at 50 again", 110, 0, 101, "V-Fin"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<Sentence> sentence(fixture::make_sentence(words(c.tokens)));
        for (int k = 1; k <= c.tokens; ++k) {
            Token* token = token_at(*sentence, k - 1);
            if (k == c.punctuation)
                give(token, {"Punct"});
            else if (k == c.probe)
                give(token, {"Nn-Std", "V-Fin"});
            else
                give(token, {"Nn-Std"});
        }
        tag_sentence(tables.resource, *sentence);
        EXPECT_EQ(parts_of_speech(*token_at(*sentence, c.probe - 1)), c.expected);
    }
}

TEST(HmmTagger, TokensWithoutReadingsGetTheDefaultNoun) {
    const Ordered pair = ordered("Adj-Std", "V-Fin");
    HmmTables tables;
    // "Nn-Std" is followed by the higher tag of the pair.
    tables.start("Nn-Std", 0.9f)
        .start(pair.low, 0.9f)
        .start(pair.high, 0.001f)
        .transition("Nn-Std", pair.high, 0.9f)
        .transition("Nn-Std", pair.low, 0.001f)
        .transition(pair.high, "Nn-Std", 0.9f)
        .transition(pair.low, "Nn-Std", 0.9f);
    struct Case {
        const char* name;
        int empty; // 0-based token without readings
    };
    // Without a reading when the window opens, a first token would have no
    // start state: every path of the window would score 0 and tag ids alone
    // would decide.
    const Case cases[] = {{"first of the window", 0}, {"inside the window", 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<Sentence> sentence(fixture::make_sentence("Zork x y"));
        for (int k = 0; k < 3; ++k)
            if (k != c.empty)
                give(token_at(*sentence, k), {pair.high.c_str(), pair.low.c_str()});
        tag_sentence(tables.resource, *sentence);
        Token* empty = token_at(*sentence, c.empty);
        ASSERT_EQ(empty->readings.size(), 1u);
        EXPECT_EQ(empty->readings.front().pos, "Nn-Std");
        EXPECT_EQ(empty->readings.front().stem, empty->literal);
        EXPECT_EQ(empty->readings.front().weight, 1.0);
        EXPECT_EQ(parts_of_speech(*token_at(*sentence, c.empty + 1)), pair.high);
    }
}

TEST(HmmTagger, AWindowOfUnknownWordsIsStillDecidedByProbability) {
    // Fifty unknown words: each step multiplies by the missing-entry 1e-13,
    // which as plain float products underflows to 0 after three tokens and
    // leaves the choice to the lowest tag id.
    const Ordered pair = ordered("Nn-Std", "V-Fin");
    HmmTables tables;
    tables.start(pair.high, 0.9f)
        .start(pair.low, 0.1f)
        .transition(pair.high, pair.high, 0.9f)
        .transition(pair.low, pair.low, 0.1f)
        .transition(pair.high, pair.low, 0.05f)
        .transition(pair.low, pair.high, 0.05f);
    std::unique_ptr<Sentence> sentence(fixture::make_sentence(words(50)));
    for (int k = 0; k < 50; ++k)
        give(token_at(*sentence, k), {pair.low.c_str(), pair.high.c_str()});
    tag_sentence(tables.resource, *sentence);
    for (int k = 0; k < 50; ++k)
        EXPECT_EQ(parts_of_speech(*token_at(*sentence, k)), pair.high) << "token " << k + 1;
}

TEST(HmmTagger, KeptReadingsOfOneStemMerge) {
    std::unique_ptr<Sentence> sentence(fixture::make_sentence("runs"));
    Token* token = token_at(*sentence, 0);
    token->readings.emplace_back("V-Fin", "run", 1.0);
    token->readings.back().tags = {"a"};
    token->readings.emplace_back("Nn-Std", "run", 1.0);
    token->readings.emplace_back("V-Fin", "runner", 1.0);
    token->readings.emplace_back("V-Fin", "run", 1.0);
    token->readings.back().tags = {"b", "a", "c"};
    HmmTables tables;
    tables.start("V-Fin", 0.9f).start("Nn-Std", 0.1f);
    tag_sentence(tables.resource, *sentence);
    ASSERT_EQ(token->readings.size(), 2u);
    EXPECT_EQ(token->readings.front().stem, "run");
    EXPECT_EQ(token->readings.front().tags, (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(token->readings.back().stem, "runner");
    EXPECT_EQ(token->readings.back().pos, "V-Fin");
}

TEST(HmmTagger, MarkupTokensArePassedOver) {
    HmmTables tables;
    tables.start("Det-Def", 0.9f)
        .start("V-Fin", 0.9f)
        .transition("Det-Def", "Nn-Std", 0.9f)
        .transition("Det-Def", "V-Fin", 1e-6f);
    std::unique_ptr<Sentence> sentence(fixture::make_sentence("the <b> run"));
    give(token_at(*sentence, 0), {"Det-Def"});
    Token* markup = token_at(*sentence, 1);
    markup->token_flags |= token_flags::markup;
    give(markup, {"Markup", "Punct"});
    give(token_at(*sentence, 2), {"V-Fin", "Nn-Std"});
    tag_sentence(tables.resource, *sentence);
    EXPECT_EQ(parts_of_speech(*markup), "Markup,Punct");
    // Scored as the neighbour of "the".
    EXPECT_EQ(parts_of_speech(*token_at(*sentence, 2)), "Nn-Std");
}

TEST(HmmTagger, TheDocumentRoad) {
    fixture::TestAnalyzer analyzer;
    auto document = fixture::make_blackboard(analyzer);
    EXPECT_FALSE(core::hmm::can_execute(*document));

    auto tables = std::make_shared<Resource>();
    tables->start[tag("V-Fin")] = 0.9f;
    tables->emission["dummy^^V-Fin"] = 0.5f;
    analyzer.module->data->hmm = tables;
    document->language_module = analyzer.module;
    EXPECT_TRUE(core::hmm::can_execute(*document));

    Sentence* first = fixture::add_sentence(*document, "run");
    Sentence* second = fixture::add_sentence(*document, "walk", 4);
    give(token_at(*first, 0), {"Nn-Std", "V-Fin"});
    give(token_at(*second, 0), {"Nn-Std", "V-Fin"});
    EXPECT_TRUE(core::hmm::execute(*document));
    EXPECT_EQ(parts_of_speech(*token_at(*first, 0)), "V-Fin");
    EXPECT_EQ(parts_of_speech(*token_at(*second, 0)), "V-Fin");
    const auto agent = core::hmm::get_store(*document);
    EXPECT_EQ(agent, document->hmm_store);
    EXPECT_EQ(core::hmm::get_store(*document), agent);

    std::unique_ptr<Sentence> single(fixture::make_sentence("jump"));
    give(token_at(*single, 0), {"Nn-Std", "V-Fin"});
    core::hmm::sentence(*document, *single);
    EXPECT_EQ(parts_of_speech(*token_at(*single, 0)), "V-Fin");
}

TEST(HmmTagger, DiagnosticDump) {
    std::unique_ptr<Sentence> sentence(fixture::make_sentence("run"));
    Token* token = token_at(*sentence, 0);
    give(token, {"V-Fin", "Nn-Std"});
    std::vector<core::hmm::detail::viterbi_element> window{{token, {}}};
    window[0].states[tag("V-Fin")] = {0x1234, 0.0};
    testing::internal::CaptureStdout();
    core::hmm::detail::print(window);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "[HMM][RESULTS]\n  run [V-Fin,Nn-Std,]\n   -- posid=0x1234:V-Fin:0\n");

    window[0].states[0] = {0xab, 0.0};
    try {
        core::hmm::detail::print(window);
        FAIL() << "no failure";
    } catch (const dez::Exception& error) {
        EXPECT_STREQ(error.what(), "Invalid tag, not in the pos_table, index:ab");
    }
}

} // namespace
} // namespace dez::trelix

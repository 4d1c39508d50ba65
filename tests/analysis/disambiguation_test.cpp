#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "analysis/disambiguation.h"
#include "analysis/morph_data.h"
#include "document/token_flags.h"
#include "foundation/exception.h"
#include "tests/analysis/postagger_fixture.h"
#include "tests/document/blackboard_fixture.h"
#include "tests/document/log_capture.h"

namespace dez::trelix {
namespace {

using fixture::Postagger;
using fixture::token_at;
using Arcs = std::vector<std::pair<std::string, std::string>>;

// The arcs of one character each, the last carrying `output`.
Arcs spelled(const std::string& text, const std::string& output = "eps") {
    Arcs arcs;
    for (char c : text)
        arcs.push_back({std::string(1, c), "eps"});
    arcs.back().second = output;
    return arcs;
}

Arcs operator+(Arcs a, const Arcs& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

void add(Token* token, const std::string& pos, double weight = 0.25,
         std::vector<std::string> tags = {}) {
    token->readings.emplace_back(pos, token->literal, weight);
    token->readings.back().tags = std::move(tags);
}

std::vector<double> weights(const Token& token) {
    std::vector<double> out;
    for (const auto& reading : token.readings)
        out.push_back(reading.weight);
    return out;
}

std::string parts_of_speech(const Token& token) {
    std::string out;
    for (const auto& reading : token.readings)
        out += (out.empty() ? "" : ",") + reading.pos;
    return out;
}

// Scores one token of a sentence with a postagger, as disambiguate does.
void score(const std::shared_ptr<dez::afst::AFst>& postagger, Sentence& sentence, Token* token) {
    core::MorphData data;
    data.postagger = postagger;
    disambiguation::Engine engine(data);
    engine.reset(&sentence.annotations);
    engine(RawPtrIterator(token));
}

TEST(AutoDisambiguate, CompoundReadingsKeepFallingComponentCounts) {
    struct Case {
        const char* name;
        std::vector<int> components;
        bool compound;
        std::vector<int> kept;
    };
    const Case cases[] = {
        {"2,3,1,1,0 keeps the first, third and fifth", {2, 3, 1, 1, 0}, true, {2, 1, 0}},
        {"a later smaller reading removes nothing before it", {1, 3, 0}, true, {1, 0}},
        {"equal counts go", {2, 2, 2}, true, {2}},
        {"a token without the compound flag is left", {2, 3, 1}, false, {2, 3, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fixture::TestAnalyzer analyzer;
        auto document = fixture::make_blackboard(analyzer);
        Sentence* sentence = fixture::add_sentence(*document, "Hausboot");
        // A token straight in the document's list is thinned as well.
        auto* loose = new Token(20, 28, "Seeboot");
        document->annotations->push_back(loose);
        for (Token* token : {token_at(*sentence, 0), loose}) {
            if (c.compound)
                token->token_flags |= token_flags::compound;
            for (int count : c.components) {
                token->readings.emplace_back("Nn-Std", token->literal, 1.0);
                for (int k = 0; k < count; ++k)
                    token->readings.back().components.emplace_back("Nn-Std", "x", 1.0);
            }
        }
        EXPECT_TRUE(auto_disambiguate(*document));
        for (Token* token : {token_at(*sentence, 0), loose}) {
            std::vector<int> kept;
            for (const auto& reading : token->readings)
                kept.push_back(static_cast<int>(reading.components.size()));
            EXPECT_EQ(kept, c.kept) << token->literal;
        }
    }
}

TEST(PostaggerScore, PatternsOverThePartOfSpeech) {
    struct Case {
        const char* name;
        std::function<void(Postagger&)> build;
        std::string pos;
        double expected;
    };
    const Case cases[] = {
        {"a pattern consuming the whole text", [](Postagger& p) { p.path(spelled("V", "#3")); },
         "V", 3.0},
        {"a pattern ending in '-' accepts a longer text",
         [](Postagger& p) { p.path(spelled("Nn-", "#2")); }, "Nn-Std", 2.0},
        {"a pattern stopping inside the text without '-'",
         [](Postagger& p) { p.path(spelled("N", "#2")); }, "Nn", 0.25},
        {"scores add up along the path",
         [](Postagger& p) {
             p.path({{"N", "#1"}, {"n", "#0.5"}});
         },
         "Nn", 1.5},
        {"signs, and outputs without a number",
         [](Postagger& p) {
             p.path({{"N", "#-2"}, {"n", "#x"}, {"-", "plain"}});
         },
         "Nn-Std", -2.0},
        {"the first accepting path in arc order",
         [](Postagger& p) {
             p.path(spelled("N", "#1"));
             p.path(spelled("N", "#5"));
         },
         "N", 1.0},
        {"the character test comes first: 'eps' consumes an 'e'",
         [](Postagger& p) {
             p.path({{"eps", "#4"}});
         },
         "e", 4.0},
        {"an epsilon into a final state with one character left",
         [](Postagger& p) {
             p.path({{"eps", "#4"}});
         },
         "x", 4.0},
        {"an epsilon into a final state with more left",
         [](Postagger& p) {
             p.path({{"eps", "#4"}});
         },
         "xy", 0.25},
        {"an epsilon into a state that is not final is followed",
         [](Postagger& p) {
             p.path({{"V", "eps"}, {"EPS", "#1"}, {"x", "#1"}});
         },
         "Vx", 2.0},
        {"a context label beginning with '-' consumes a '-'",
         [](Postagger& p) {
             p.path({{"N", "eps"}, {"-p1", "#1"}, {"S", "eps"}});
         },
         "N-S", 1.0},
        {"after a pop the frame below goes on from the character it consumed",
         [](Postagger& p) {
             const int s1 = p.state(), s2 = p.state(), s3 = p.state(), s4 = p.state();
             p.arc(p.start, s1, "N");
             p.arc(s1, s2, "x");
             p.arc(s1, s3, "N");
             p.arc(s3, s4, "x", "#7");
             p.final(s4);
         },
         "Nx", 7.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Postagger postagger;
        c.build(postagger);
        std::unique_ptr<Sentence> sentence(fixture::make_sentence("word"));
        Token* token = token_at(*sentence, 0);
        add(token, c.pos);
        score(postagger.build(), *sentence, token);
        EXPECT_EQ(weights(*token), std::vector<double>{c.expected});
    }
}

TEST(PostaggerScore, AnEpsilonIntoAFinalStateAtTheEndIsReported) {
    Postagger postagger;
    postagger.path({{"V", "eps"}, {"eps", "#4"}});
    std::unique_ptr<Sentence> sentence(fixture::make_sentence("go"));
    Token* token = token_at(*sentence, 0);
    add(token, "V");
    testing::internal::CaptureStderr();
    score(postagger.build(), *sentence, token);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Warning, Check the Postagger file for strange constructions.\n");
    EXPECT_EQ(weights(*token), std::vector<double>{0.25});
}

TEST(PostaggerScore, ContextTests) {
    struct Case {
        const char* name;
        Arcs arcs;
        std::function<void(Sentence&)> prepare;
        std::string pos;
        double expected;
    };
    const auto none = [](Sentence&) {};
    const Case cases[] = {
        {"+p1: the next token's part of speech",
         spelled("V") + Arcs{{"+p1", "eps"}} + spelled("Adv", "#2"), none, "V", 2.0},
        {"-p1: the previous one's, accepted at its '-'",
         spelled("V") + Arcs{{"-p1", "#1"}} + spelled("Det-", "#1"), none, "V", 2.0},
        {"+s1: the next token's stem", spelled("V") + Arcs{{"+s1", "eps"}} + spelled("fast", "#2"),
         none, "V", 2.0},
        {"+m1: a property of the next token", spelled("V") + Arcs{{"+m1?cap", "#2"}}, none, "V",
         2.0},
        {"+m1: a tag of one of its readings", spelled("V") + Arcs{{"+m1?tg", "#2"}}, none, "V",
         2.0},
        {"+m1: neither", spelled("V") + Arcs{{"+m1?other", "#2"}}, none, "V", 0.25},
        {"+m1?: the empty name, which no token has", spelled("V") + Arcs{{"+m1?", "#2"}}, none, "V",
         0.25},
        {"a property test without a name fails", spelled("V") + Arcs{{"+m1", "#2"}}, none, "V",
         0.25},
        {"offsets stay counted from the scored token",
         spelled("V") + Arcs{{"+p1", "eps"}} + spelled("Adv") + Arcs{{"-p1", "eps"}} +
             spelled("Det-", "#2"),
         none, "V", 2.0},
        {"+p2 lands after the last token",
         spelled("V") + Arcs{{"+p2", "eps"}} + spelled("Adv", "#2"), none, "V", 0.25},
        {"-p2 lands before the first token",
         spelled("V") + Arcs{{"-p2", "eps"}} + spelled("Det", "#2"), none, "V", 0.25},
        {"+p1 lands on a concept", spelled("V") + Arcs{{"+p1", "eps"}} + spelled("Adv", "#2"),
         [](Sentence& s) { fixture::add_concept(s, token_at(s, 2), token_at(s, 2), "X"); }, "V",
         0.25},
        {"+p1 lands on a markup token", spelled("V") + Arcs{{"+p1", "eps"}} + spelled("Adv", "#2"),
         [](Sentence& s) { token_at(s, 2)->token_flags |= token_flags::markup; }, "V", 0.25},
        {"no context test where a '-' comes next",
         spelled("V") + Arcs{{"+p1", "eps"}} + spelled("Adv", "#2"), none, "V-x", 0.25},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Postagger postagger;
        postagger.path(c.arcs);
        std::unique_ptr<Sentence> sentence(fixture::make_sentence("the run fast"));
        add(token_at(*sentence, 0), "Det-Def");
        Token* scored = token_at(*sentence, 1);
        add(scored, c.pos);
        Token* next = token_at(*sentence, 2);
        add(next, "Adv", 0.25, {"tg"});
        next->properties.insert("cap");
        c.prepare(*sentence);
        score(postagger.build(), *sentence, scored);
        EXPECT_EQ(weights(*scored), std::vector<double>{c.expected});
    }
}

TEST(PostaggerScore, WalksThatWouldNeverEnd) {
    struct Case {
        const char* name;
        std::function<void(Postagger&)> build;
        std::string pos;
        double expected;
    };
    const Case cases[] = {
        {"an epsilon loop in front of the accepting arc",
         [](Postagger& p) {
             p.arc(p.start, p.start, "eps", "#1");
             p.path(spelled("V", "#2"));
         },
         "V", 2.0},
        {"two epsilon loops through two states",
         [](Postagger& p) {
             const int s1 = p.state();
             p.arc(p.start, s1, "eps");
             p.arc(s1, p.start, "EPS");
             p.arc(s1, s1, "eps");
             p.path(spelled("V", "#2"));
         },
         "V", 2.0},
        {"a context test back onto the scored token",
         [](Postagger& p) {
             const int s1 = p.state(), done = p.state();
             p.arc(p.start, s1, "V");
             p.arc(s1, p.start, "+p0");
             p.arc(s1, done, "+m0?cap", "#3");
             p.final(done);
         },
         "V", 3.0},
        {"two character arcs back into one state",
         [](Postagger& p) {
             const int s1 = p.state();
             p.arc(p.start, s1, "V");
             p.arc(s1, s1, "V");
             p.arc(s1, s1, "V");
         },
         "VV", 0.25},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Postagger postagger;
        c.build(postagger);
        std::unique_ptr<Sentence> sentence(fixture::make_sentence("run"));
        Token* token = token_at(*sentence, 0);
        add(token, c.pos);
        token->properties.insert("cap");
        score(postagger.build(), *sentence, token);
        EXPECT_EQ(weights(*token), std::vector<double>{c.expected});
    }
}

TEST(PostaggerScore, AWalkWithoutEndOfPathsIsCut) {
    // Forty states, each joined to the next by two epsilon arcs: 2^40 paths
    // and none accepting. No path repeats a state, so only the step bound
    // ends the walk.
    Postagger postagger;
    int at = postagger.start;
    for (int k = 0; k < 40; ++k) {
        const int next = postagger.state();
        postagger.arc(at, next, "eps");
        postagger.arc(at, next, "EPS");
        at = next;
    }
    std::unique_ptr<Sentence> sentence(fixture::make_sentence("run"));
    Token* token = token_at(*sentence, 0);
    add(token, "V");
    auto& log = fixture::runtime_log();
    log.clear();
    score(postagger.build(), *sentence, token);
    EXPECT_EQ(weights(*token), std::vector<double>{0.25});
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].second, "Postagger walk cut: too many steps");
}

TEST(Disambiguate, KeepsTheBestScoredReadings) {
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, double>> readings;
        Arcs first_path;
        Arcs second_path;
        std::string kept;
    };
    const Case cases[] = {
        {"a token of one reading is not scored", {{"A", 0.5}}, spelled("A", "#3"), {}, "A"},
        {"nothing matches: the heaviest lexicon readings stay",
         {{"A", 0.5}, {"B", 0.5}, {"C", 0.25}},
         spelled("X", "#3"),
         {},
         "A,B"},
        {"equal best scores both stay",
         {{"A", 0.5}, {"B", 0.25}, {"C", 0.25}},
         spelled("A", "#2"),
         spelled("B", "#2"),
         "A,B"},
        {"a match below an unmatched lexicon weight goes",
         {{"A", 0.5}, {"B", 0.5}},
         spelled("A", "#0.1"),
         {},
         "B"},
        {"the best match wins",
         {{"A", 0.5}, {"B", 0.1}},
         spelled("A", "#1"),
         spelled("B", "#2"),
         "B"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Postagger postagger;
        postagger.path(c.first_path);
        if (!c.second_path.empty())
            postagger.path(c.second_path);
        fixture::TestAnalyzer analyzer;
        auto document = fixture::make_blackboard(analyzer);
        document->lookup_chains = std::make_shared<core::MorphData>();
        document->lookup_chains->postagger = postagger.build();
        Sentence* sentence = fixture::add_sentence(*document, "word");
        Token* token = token_at(*sentence, 0);
        for (const auto& [pos, weight] : c.readings)
            add(token, pos, weight);
        EXPECT_TRUE(disambiguate(*document));
        EXPECT_EQ(parts_of_speech(*token), c.kept);
        if (c.readings.size() == 1) {
            EXPECT_EQ(weights(*token), std::vector<double>{0.5});
        }
    }
}

// A postagger's labels and scores are worked out once per thread: documents
// of another postagger, alternating or each new, must never score with them.
TEST(Disambiguate, EachPostaggerScoresWithItsOwnTables) {
    const auto build = [](const char* a_score, const char* b_score) {
        Postagger postagger;
        postagger.path(spelled("A", a_score));
        postagger.path(spelled("B", b_score));
        return postagger.build();
    };
    const auto kept = [](const std::shared_ptr<dez::afst::AFst>& postagger) {
        fixture::TestAnalyzer analyzer;
        auto document = fixture::make_blackboard(analyzer);
        document->lookup_chains = std::make_shared<core::MorphData>();
        document->lookup_chains->postagger = postagger;
        Token* token = token_at(*fixture::add_sentence(*document, "word"), 0);
        add(token, "A", 0.5);
        add(token, "B", 0.5);
        disambiguate(*document);
        return parts_of_speech(*token);
    };
    const auto prefers_a = build("#2", "#1");
    const auto prefers_b = build("#1", "#2");
    EXPECT_EQ(kept(prefers_a), "A");
    EXPECT_EQ(kept(prefers_b), "B");
    EXPECT_EQ(kept(prefers_a), "A");
    for (int round = 0; round < 4; ++round) {
        const bool a = round % 2 == 0;
        EXPECT_EQ(kept(a ? build("#3", "#1") : build("#1", "#3")), a ? "A" : "B") << round;
    }
}

TEST(Disambiguate, WithoutPostaggerNothingChanges) {
    fixture::TestAnalyzer analyzer;
    auto document = fixture::make_blackboard(analyzer);
    Sentence* sentence = fixture::add_sentence(*document, "word");
    add(token_at(*sentence, 0), "A", 0.5);
    add(token_at(*sentence, 0), "B", 0.25);
    document->lookup_chains.reset();
    EXPECT_TRUE(disambiguate(*document));
    document->lookup_chains = std::make_shared<core::MorphData>();
    EXPECT_TRUE(disambiguate(*document));
    EXPECT_EQ(parts_of_speech(*token_at(*sentence, 0)), "A,B");
}

TEST(CheckPostagger, RefusesWhatTheWalkCannotRead) {
    struct Case {
        const char* name;
        std::function<void(Postagger&)> build;
        std::string failure;
    };
    const Case cases[] = {
        {"context tests with names",
         [](Postagger& p) {
             p.path({{"+p1", "#1"}, {"-s2", "eps"}, {"+m1?cap", "eps"}, {"+m1?", "eps"}});
         },
         ""},
        {"'+m1' names no property",
         [](Postagger& p) {
             p.path({{"V", "eps"}, {"+m1", "eps"}});
         },
         "Postagger property test without a property name: \"+m1\""},
        {"'-m2' names no property",
         [](Postagger& p) {
             p.path({{"-m2", "eps"}});
         },
         "Postagger property test without a property name: \"-m2\""},
        {"'+pX' has no digit offset",
         [](Postagger& p) {
             p.path({{"V", "eps"}, {"+pX", "eps"}});
         },
         "Postagger context test without a digit offset: \"+pX\""},
        {"'-s-' has no digit offset",
         [](Postagger& p) {
             p.path({{"-s-", "eps"}});
         },
         "Postagger context test without a digit offset: \"-s-\""},
        {"an arc label beyond the input table", [](Postagger& p) { p.stray_arc(p.start, p.start); },
         "outside its symbol tables"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Postagger postagger;
        c.build(postagger);
        const auto built = postagger.build();
        std::string failure;
        try {
            disambiguation::check_postagger(*built);
        } catch (const dez::Exception& error) {
            failure = error.what();
        }
        if (c.failure.empty())
            EXPECT_EQ(failure, "");
        else
            EXPECT_NE(failure.find(c.failure), std::string::npos) << failure;
    }
}

} // namespace
} // namespace dez::trelix

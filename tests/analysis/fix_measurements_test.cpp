#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "analysis/fix_measurements.h"
#include "analysis/lookup.h"
#include "analysis/morph_data.h"
#include "document/token_flags.h"
#include "tests/document/blackboard_fixture.h"

namespace dez::trelix {
namespace {

class NoLookup : public core::ILookup {
public:
    std::vector<std::string> lookup(const std::string&) const override { return {}; }
    std::vector<std::string> lookup_no_cache(const std::string&) const override { return {}; }
};

struct Word {
    std::string pos;               // a reading with the literal as stem, or none
    std::vector<std::string> tags = {}; // of that reading
    std::vector<std::string> properties = {};
    uint64_t flags = 0;
};

// The ambiguous unit: a unit reading and a multiplier reading.
Word unit(uint64_t flags = token_flags::unit_or_value) {
    return {"", {}, {"_mc_"}, flags};
}

std::unique_ptr<Sentence> make(const std::string& words, const std::vector<Word>& details) {
    std::unique_ptr<Sentence> sentence(fixture::make_sentence(words));
    sentence->sentence_flags = sentence_flags::has_unit_or_value;
    for (size_t i = 0; i < details.size(); ++i) {
        Token* token = fixture::token_at(*sentence, i);
        const Word& word = details[i];
        if (word.pos.empty() && word.flags & token_flags::unit_or_value) {
            token->readings.emplace_back("Nn-Sym", token->literal, 0.5);
            token->readings.back().tags = {"unit"};
            token->readings.emplace_back("Num", token->literal, 0.5);
            token->readings.back().tags = {"value"};
        } else if (!word.pos.empty()) {
            token->readings.emplace_back(word.pos, token->literal, 1.0);
            token->readings.back().tags = word.tags;
        }
        token->properties.insert(word.properties.begin(), word.properties.end());
        token->token_flags = word.flags;
    }
    return sentence;
}

// What is left of the unit's readings: "unit", "value" or "unit value".
std::string left(const Token& token) {
    std::string out;
    for (const MorphData& reading : token.readings)
        for (const std::string& tag : reading.tags)
            out += (out.empty() ? "" : " ") + tag;
    return out;
}

struct FixMeasurements : ::testing::Test {
    void SetUp() override {
        document = fixture::make_blackboard(analyzer);
        document->lookup_chains = std::make_shared<core::MorphData>();
        document->lookup_chains->chain.push_back(std::make_shared<NoLookup>());
    }
    fixture::TestAnalyzer analyzer;
    std::unique_ptr<Blackboard> document;
};

TEST_F(FixMeasurements, TheNextWordDecides) {
    using namespace token_flags;
    struct Case {
        const char* words;
        std::vector<Word> details;
        size_t unit_index;
        std::string left;
        bool measure;
    };
    const std::vector<Case> cases = {
        {"5 m people", {{"Num"}, unit(), {"Nn-Pl"}}, 1, "value", false},
        {"5 m .", {{"Num"}, unit(), {"Punct-Sent"}}, 1, "unit", false},
        {"5 m", {{"Num"}, unit()}, 1, "unit", false},
        {"5 m tall building", {{"Num"}, unit(), {"Adj"}, {"Nn-Sg"}}, 1, "unit", true},
        {"5 m tall", {{"Num"}, unit(), {"Adj"}}, 1, "unit", false},
        {"5 m kg", {{"Num"}, unit(), {"Nn-Sym", {}, {"unit"}}}, 1, "value", false},
        {"5 m $", {{"Num"}, unit(), {"Nn-Sym", {"currency"}}}, 1, "value", false},
        {"5 m of", {{"Num"}, unit(), {"Prep"}}, 1, "unit", false},
        // After a currency sign and a number it is a multiplier.
        {"$ 5 m building",
         {{"Nn-Sym"}, {"Num"}, unit(unit_or_value | multiplier), {"Nn-Sg"}},
         2,
         "value",
         false},
    };
    for (const Case& c : cases) {
        std::unique_ptr<Sentence> sentence = make(c.words, c.details);
        fix_measurements(*document, *sentence);
        const Token& token = *fixture::token_at(*sentence, c.unit_index);
        EXPECT_EQ(left(token), c.left) << c.words;
        EXPECT_EQ(token.properties.count("measure") == 1, c.measure) << c.words;
    }
}

TEST_F(FixMeasurements, OnlyWhenThereIsSomethingToSettle) {
    // A sentence without the flag.
    std::unique_ptr<Sentence> sentence = make("5 m people", {{"Num"}, unit(), {"Nn-Pl"}});
    sentence->sentence_flags = 0;
    fix_measurements(*document, *sentence);
    EXPECT_EQ(left(*fixture::token_at(*sentence, 1)), "unit value");

    // A language without lookups.
    sentence->sentence_flags = sentence_flags::has_unit_or_value;
    document->lookup_chains->chain.clear();
    fix_measurements(*document, *sentence);
    EXPECT_EQ(left(*fixture::token_at(*sentence, 1)), "unit value");
}

TEST_F(FixMeasurements, TokensOfANestedSentence) {
    std::unique_ptr<Sentence> outer = make("x", {{"Nn-Sg"}});
    Sentence* inner = make("5 m people", {{"Num"}, unit(), {"Nn-Pl"}}).release();
    outer->annotations.push_back(inner);
    fix_measurements(*document, *outer);
    EXPECT_EQ(left(*fixture::token_at(*inner, 1)), "value");
}

} // namespace
} // namespace dez::trelix

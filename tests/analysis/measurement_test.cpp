#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "analysis/measurement.h"
#include "document/token_flags.h"
#include "foundation/regex.h"
#include "tests/analysis/tokenizer_fixture.h"

namespace dez::trelix {
namespace {

using fixture::properties_of;
using fixture::pos_stem_readings;
using fixture::spans_of;
using fixture::tokens_of;
using Strings = std::vector<std::string>;

// The token `literal` at offset 10 as the last annotation of a sentence,
// with the given properties, split by the fixture measures expression.
std::unique_ptr<Sentence> split(const std::string& literal, const Strings& properties = {}) {
    auto sentence = std::make_unique<Sentence>(10, 10 + static_cast<uint32_t>(literal.size()));
    auto* token = new Token(sentence->begin, sentence->end, literal);
    token->properties.insert(properties.begin(), properties.end());
    sentence->annotations.push_back(token);
    const dez::Regex measures(fixture::measures_pattern(), false);
    dez::SMatch match;
    EXPECT_TRUE(measures.regex_match(literal, match)) << literal;
    apply_measurement(sentence.get(), token, match);
    return sentence;
}

TEST(Measurement, FormsByTheGroupsThatTookPart) {
    using namespace token_flags;
    struct Case {
        std::string literal;
        Strings spans;
        std::vector<Strings> readings;
        std::vector<Strings> properties;
        std::vector<uint64_t> flags;
        uint64_t sentence_flags;
    };
    const std::vector<Case> cases = {
        {"$100",
         {"$@10-11", "100@11-14"},
         {{"Nn-Sym:$"}, {"Num:100"}},
         {{}, {}},
         {no_lookup, no_lookup},
         0},
        {"5kg",
         {"5@10-11", "kg@11-13"},
         {{"Num:5"}, {"Nn-Sym:kg"}},
         {{}, {"unit"}},
         {no_lookup, no_lookup},
         0},
        {"2.5km",
         {"2.5@10-13", "km@13-15"},
         {{"Num:2.5"}, {"Nn-Sym:km"}},
         {{}, {"unit"}},
         {no_lookup, no_lookup},
         0},
        {"5k",
         {"5@10-11", "k@11-12"},
         {{"Num:5"}, {"Num:k"}},
         {{}, {"_mc_", "measure"}},
         {no_lookup, 0},
         0},
        {"7bn",
         {"7@10-11", "bn@11-13"},
         {{"Num:7"}, {"Num:bn"}},
         {{}, {"_mc_", "measure"}},
         {no_lookup, 0},
         0},
        {"5m",
         {"5@10-11", "m@11-12"},
         {{"Num:5"}, {}},
         {{}, {"_mc_"}},
         {0, unit_or_value},
         sentence_flags::has_unit_or_value},
        {"$5m",
         {"$@10-11", "5@11-12", "m@12-13"},
         {{"Nn-Sym:$"}, {"Num:5"}, {}},
         {{"currency"}, {}, {"measure"}},
         {no_lookup, no_lookup, unit_or_value | multiplier},
         sentence_flags::has_unit_or_value},
        // One group only: the token stays as it is.
        {"100", {"100@10-13"}, {{}}, {{}}, {0}, 0},
    };
    for (const Case& c : cases) {
        std::unique_ptr<Sentence> sentence = split(c.literal);
        EXPECT_EQ(spans_of(*sentence), c.spans) << c.literal;
        std::vector<Strings> readings;
        std::vector<Strings> properties;
        std::vector<uint64_t> flags;
        for (const Token* token : tokens_of(*sentence)) {
            readings.push_back(pos_stem_readings(*token));
            properties.push_back(properties_of(*token));
            flags.push_back(token->token_flags);
        }
        EXPECT_EQ(readings, c.readings) << c.literal;
        EXPECT_EQ(properties, c.properties) << c.literal;
        EXPECT_EQ(flags, c.flags) << c.literal;
        EXPECT_EQ(sentence->sentence_flags, c.sentence_flags) << c.literal;
    }
}

TEST(Measurement, PropertiesOfTheSplitToken) {
    // Two-part forms drop every property of the first token.
    EXPECT_EQ(properties_of(*tokens_of(*split("5kg", {"alphanum", "nf", "x"}))[0]), Strings{});
    // The three-part form drops shape properties, keeps others, and gives
    // "init-token" back.
    std::unique_ptr<Sentence> sentence = split("$5m", {"alphanum", "nf", "init-token", "x"});
    EXPECT_EQ(properties_of(*tokens_of(*sentence)[0]), (Strings{"currency", "init-token", "x"}));
    EXPECT_EQ(properties_of(*tokens_of(*sentence)[2]), Strings{"measure"});
}

// Groups that took part but leave a role empty would make an empty token.
TEST(Measurement, GroupSetsWithoutAFormChangeNothing) {
    struct Case {
        const char* pattern;
        std::string literal;
    };
    const std::vector<Case> cases = {
        {"(\\$)?([0-9]+)?(m)?", "$m"},
        {"(x)?([0-9]+)(y)?(z)?", "5z"},
        {"(a)(b)(c)(d)", "abcd"},
    };
    for (const Case& c : cases) {
        Sentence sentence(0, static_cast<uint32_t>(c.literal.size()));
        auto* token = new Token(0, sentence.end, c.literal);
        sentence.annotations.push_back(token);
        dez::SMatch match;
        ASSERT_TRUE(dez::Regex(c.pattern, false).regex_match(c.literal, match)) << c.pattern;
        apply_measurement(&sentence, token, match);
        EXPECT_EQ(spans_of(sentence), Strings{c.literal + "@0-" + std::to_string(c.literal.size())})
            << c.pattern;
        EXPECT_TRUE(token->readings.empty()) << c.pattern;
    }
}

} // namespace
} // namespace dez::trelix

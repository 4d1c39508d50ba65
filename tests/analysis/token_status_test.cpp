#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/token_status.h"
#include "document/token_flags.h"
#include "tests/analysis/tokenizer_fixture.h"

namespace dez::trelix {
namespace {

using fixture::properties_of;
using fixture::pos_stem_readings;

// A token "tok" as the last annotation of a sentence of a fixture document.
struct StatusBench {
    StatusBench() : document("") {
        sentence = new Sentence(0, 3);
        document->annotations->push_back(sentence);
        token = new Token(0, 3, "tok");
        sentence->annotations.push_back(token);
    }
    fixture::Document document;
    Sentence* sentence;
    Token* token;
};

TEST(TokenStatus, EveryDefaultTokenMapRow) {
    using namespace token_flags;
    struct Case {
        int32_t status;
        std::vector<std::string> readings;
        std::vector<std::string> properties;
        uint64_t flags;
        uint64_t sentence_flags;
    };
    const std::vector<Case> cases = {
        {100, {"Num:tok"}, {}, 0, 0},
        {500, {"Punct:tok"}, {}, rule_reading, 0},
        {501, {"Punct-Sent:tok"}, {}, rule_reading, 0},
        {502, {"Punct-Comma:tok"}, {}, rule_reading, 0},
        {503, {"Punct-Quote:tok"}, {}, rule_reading, 0},
        {504, {"Punct-Open:tok"}, {}, rule_reading, 0},
        {505, {"Punct-Close:tok"}, {}, rule_reading, 0},
        {506, {"Punct-Line:tok"}, {}, rule_reading, 0},
        {101, {}, {"breakline"}, 0, 0},
        {510, {}, {"abbrev"}, 0, 0},
        // Without a measures expression a 511 number is still not looked up.
        {511, {"Num:tok"}, {"_not_a_noun_"}, no_lookup, 0},
        {512, {}, {"markup"}, markup, 0},
        {513, {"Punct-Quote:tok"}, {}, apostrophe_join, sentence_flags::has_apostrophe},
        {516, {"Nn-Sym:tok"}, {}, 0, 0},
        {514, {"Nn-Sym:tok"}, {"currency"}, 0, 0},
        {515, {"Num:tok"}, {"_not_a_noun_"}, 0, 0},
        {700, {"Num:tok"}, {"_not_a_noun_", "measure"}, 0, 0},
        {520, {}, {"e-mail"}, 0, 0},
        {521, {}, {"separator"}, 0, 0},
        {524, {}, {"ipaddress"}, 0, 0},
        {525, {}, {"code-block"}, 0, 0},
        {527, {}, {"sequence"}, 0, 0},
        {400, {"Punct-Header:tok"}, {"hdr-prefix"}, 0, 0},
        {621, {"Url:tok"}, {"internet"}, no_lookup, 0},
        {630, {}, {"e-mail"}, 0, 0},
        {522, {}, {"emoticon"}, 0, 0},
        {523, {}, {"alphanum"}, 0, 0},
        {600, {"Prop-Std:tok"}, {"nf"}, 0, 0},
        {2000, {}, {"tag"}, property_lookup, 0},
        {1900, {}, {"uuid"}, 0, 0},
        // No tags: above 999 a "prop_" property, below nothing.
        {1234, {}, {"prop_1234"}, 0, 0},
        {3000, {}, {"prop_3000"}, 0, 0},
        {999, {}, {}, 0, 0},
        {0, {}, {}, 0, 0},
    };
    for (const Case& c : cases) {
        StatusBench bench;
        apply_rule_status(*bench.document, bench.sentence, bench.token, c.status);
        EXPECT_EQ(pos_stem_readings(*bench.token), c.readings) << c.status;
        EXPECT_EQ(properties_of(*bench.token), c.properties) << c.status;
        EXPECT_EQ(bench.token->token_flags, c.flags) << c.status;
        EXPECT_EQ(bench.sentence->sentence_flags, c.sentence_flags) << c.status;
        for (const MorphData& reading : bench.token->readings)
            EXPECT_EQ(reading.weight, c.status == url_status ? 100.0 : 1.0) << c.status;
    }
}

TEST(TokenStatus, UrlReadingStopsAtTheThirdSlash) {
    struct Case {
        std::string literal;
        std::string stem;
    };
    const std::vector<Case> cases = {
        {"https://example.com/a/b", "https://example.com"},
        {"http://example.com", "http://example.com"},
        {"http://x/", "http://x"},
        {"/a/b/c", "/a/b/c"}, // a slash in the first byte does not count
    };
    for (const Case& c : cases) {
        StatusBench bench;
        bench.token->literal = c.literal;
        bench.token->properties.insert("nf");
        apply_rule_status(*bench.document, bench.sentence, bench.token, url_status);
        EXPECT_EQ(pos_stem_readings(*bench.token), std::vector<std::string>{"Url:" + c.stem})
            << c.literal;
        EXPECT_EQ(properties_of(*bench.token), std::vector<std::string>{"internet"}) << c.literal;
    }
}

// The language's own map: "-X" drops the first reading X and marks the
// token "nf"; tags apply in the order they were inserted.
TEST(TokenStatus, LanguageMapAddsAndRemovesReadings) {
    StatusBench bench;
    TokenMap& map = bench.document.analyzer.module->data->token_map;
    map.emplace(42, "+A");
    map.emplace(42, "+B");
    map.emplace(42, "+A");
    map.emplace(42, "-A");
    map.emplace(42, "-C");
    map.emplace(42, "flag");
    apply_rule_status(*bench.document, bench.sentence, bench.token, 42);
    EXPECT_EQ(pos_stem_readings(*bench.token), (std::vector<std::string>{"B:tok", "A:tok"}));
    EXPECT_EQ(properties_of(*bench.token), (std::vector<std::string>{"flag", "nf"}));
}

TEST(TokenStatus, FlagsOfAStatus) {
    using namespace token_flags;
    struct Case {
        unsigned long status;
        uint64_t flags;
    };
    const std::vector<Case> cases = {
        {499, 0},
        {500, rule_reading},
        {509, rule_reading},
        {510, 0},
        {512, markup},
        {513, apostrophe_join},
        {1999, 0},
        {2000, property_lookup},
        {2999, property_lookup},
        {3000, rule_reading},
        {4000, rule_reading},
        {4001, 0},
    };
    for (const Case& c : cases) {
        StatusBench bench;
        set_property_lookup_flag(bench.sentence, bench.token, c.status);
        EXPECT_EQ(bench.token->token_flags, c.flags) << c.status;
        EXPECT_EQ(bench.sentence->sentence_flags,
                  c.status == 513 ? sentence_flags::has_apostrophe : 0u)
            << c.status;
    }
}

} // namespace
} // namespace dez::trelix

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

#include "analysis/token_helpers.h"
#include "tests/document/sentence_fixture.h"

namespace dez::trelix {
namespace {

using fixture::make_sentence;
using fixture::token_at;

TEST(TokenSearch, PreviousAndNextSkipOtherKinds) {
    std::unique_ptr<Sentence> sentence(make_sentence("a b c"));
    Token* a = token_at(*sentence, 0);
    Token* b = token_at(*sentence, 1);
    Token* c = token_at(*sentence, 2);
    Concept* x = fixture::add_concept(*sentence, b, c, "X");
    Annotation* eos = sentence->annotations.tail;
    struct Case {
        const char* name;
        Token* found;
        Token* expected;
    };
    const Case cases[] = {
        {"previous of a token", find_previous_token(c, 1), b},
        {"previous skips a concept", find_previous_token(b, 1), a},
        {"second previous", find_previous_token(c, 2), a},
        {"previous of the end of stream", find_previous_token(eos, 1), c},
        {"none before the first", find_previous_token(a, 1), nullptr},
        {"end position", find_previous_token(RawPtrIterator(), 1), nullptr},
        {"too few", find_previous_token(c, 3), nullptr},
        {"next of the head", find_next_token(sentence->annotations.head, 1), a},
        {"next skips a concept", find_next_token(a, 1), b},
        {"next of a concept", find_next_token(x, 1), b},
        {"second next", find_next_token(a, 2), c},
        {"none after the last", find_next_token(c, 1), nullptr},
        {"next of the end", find_next_token(RawPtrIterator(), 1), nullptr},
    };
    for (const Case& t : cases)
        EXPECT_EQ(t.found, t.expected) << t.name;
}

TEST(TokenSearch, FirstTokenAndEveryTokenOfNestedLists) {
    std::unique_ptr<Sentence> sentence(make_sentence("a b c"));
    // A sentence nested after "b": its tokens come in their place.
    Sentence* nested = make_sentence("x y");
    sentence->annotations.insert(RawPtrIterator(token_at(*sentence, 2)), nested);
    std::string seen;
    for_each_token(sentence->annotations, [&](Token* token) { seen += token->literal; });
    EXPECT_EQ(seen, "abxyc");

    std::unique_ptr<Sentence> empty(make_sentence(""));
    seen.clear();
    for_each_token(empty->annotations, [&](Token* token) { seen += token->literal; });
    EXPECT_EQ(seen, "");

    EXPECT_EQ(first_token(sentence->annotations), token_at(*sentence, 0));
    EXPECT_EQ(first_token(nested->annotations), token_at(*nested, 0));
    EXPECT_EQ(first_token(empty->annotations), nullptr);
}

TEST(TokenTests, PartOfSpeechByClassAndPrefix) {
    Token token(0, 4, "Anna");
    EXPECT_FALSE(has_pos(&token, 0x4000000u));
    EXPECT_FALSE(has_pos(&token, std::string("")));
    token.readings.emplace_back("Nn", "anna", 1.0);
    token.readings.emplace_back("Prop-Gen", "Anna", 1.0);
    EXPECT_TRUE(has_pos(&token, 0x4000000u)); // class of Prop
    EXPECT_TRUE(has_pos(&token, 0x200000u));  // class of Nn
    EXPECT_FALSE(has_pos(&token, 0x10000u));  // Adj
    EXPECT_FALSE(has_pos(&token, 0x200001u)); // a tag id is not a class
    EXPECT_TRUE(has_pos(&token, std::string("Prop-G")));
    EXPECT_TRUE(has_pos(&token, std::string("")));
    EXPECT_FALSE(has_pos(&token, std::string("Prop-Gen-")));
    EXPECT_FALSE(has_pos(&token, std::string("prop")));
}

TEST(TokenTests, PropertyFromSetOrTags) {
    Token token(0, 1, "x");
    EXPECT_FALSE(has_property(token, "gen"));
    token.properties.insert("gen");
    token.readings.emplace_back("Nn", "x", 1.0);
    token.readings.back().tags = {"+Pl", "guess"};
    EXPECT_TRUE(has_property(token, "gen"));
    EXPECT_TRUE(has_property(token, "guess"));
    EXPECT_FALSE(has_property(token, "+P"));
    EXPECT_FALSE(has_property(token, "Gen"));
}

TEST(TokenTests, ComponentsCountOneLevelDown) {
    Token token(0, 9, "sunflower");
    EXPECT_FALSE(has_pos_components(&token, std::string("")));
    token.readings.emplace_back("Nn", "sunflower", 1.0);
    MorphData& compound = token.readings.back();
    compound.components.emplace_back("Adj-Std", "sun", 1.0);
    compound.components.back().components.emplace_back("V-Inf", "deep", 1.0);
    struct Case {
        const char* prefix;
        bool in_readings;
        bool with_components;
    };
    const Case cases[] = {
        {"Nn", true, true}, {"Adj-S", false, true}, {"V", false, false}, {"Prop", false, false}};
    for (const Case& c : cases) {
        EXPECT_EQ(has_pos(&token, std::string(c.prefix)), c.in_readings) << c.prefix;
        EXPECT_EQ(has_pos_components(&token, std::string(c.prefix)), c.with_components) << c.prefix;
    }
    EXPECT_TRUE(has_pos_components(&token, 0x10000u)); // Adj
    EXPECT_FALSE(has_pos(&token, 0x10000u));
    EXPECT_FALSE(has_pos_components(nullptr, 0x10000u));
}

TEST(TokenTests, RemovingPropertiesAndTaggedReadings) {
    Token token(0, 1, "m");
    token.properties = {"_mc_", "measure"};
    token.readings.emplace_back("Nn-Sym", "metre", 1.0);
    token.readings.back().tags = {"unit"};
    token.readings.emplace_back("Num", "million", 1.0);
    token.readings.back().tags = {"value"};
    token.readings.emplace_back("Nn-Sym", "mile", 1.0);
    token.readings.back().tags = {"x", "unit"};

    EXPECT_TRUE(remove_token_property(&token, "measure"));
    EXPECT_FALSE(remove_token_property(&token, "measure"));
    EXPECT_EQ(token.properties, std::set<std::string>{"_mc_"});
    EXPECT_TRUE(has_token_property(&token, "value"));
    EXPECT_FALSE(has_token_property(nullptr, "value"));

    remove_pos_with_morpho_syntax(&token, "unit");
    ASSERT_EQ(token.readings.size(), 1u);
    EXPECT_EQ(token.readings.front().stem, "million");
    remove_pos_with_morpho_syntax(&token, "unit");
    EXPECT_EQ(token.readings.size(), 1u);
}

} // namespace
} // namespace dez::trelix

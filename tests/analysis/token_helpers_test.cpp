#include <gtest/gtest.h>

#include <memory>

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

} // namespace
} // namespace dez::trelix

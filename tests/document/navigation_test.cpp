#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>

#include "document/annotation_collection.h"
#include "document/annotation_navigation.h"
#include "tests/document/sentence_fixture.h"

namespace dez::trelix {
namespace {

using fixture::make_sentence;
using fixture::token_at;

TEST(SentenceNavigation, MovesAlongTheDocument) {
    AnnotationCollection document;
    Sentence* s[3];
    for (auto*& sentence : s) {
        sentence = make_sentence("w");
        document.push_back(sentence);
    }
    struct Case {
        int from;
        int n;
        int expected; // -1 = null
    };
    for (const Case& c : {Case{1, 0, 1}, Case{0, 1, 1}, Case{0, 2, 2}, Case{1, 2, -1},
                          Case{2, -2, 0}, Case{1, -1, 0}, Case{0, -1, -1}, Case{0, 3, -1}}) {
        Sentence* expected = c.expected < 0 ? nullptr : s[c.expected];
        EXPECT_EQ(move_to_sentence(s[c.from], c.n), expected) << c.from << " by " << c.n;
    }
    EXPECT_EQ(move_forward_sentence(s[0], 2), s[2]);
    EXPECT_EQ(move_backward_sentence(s[2], 1), s[1]);
    EXPECT_EQ(move_to_sentence(nullptr, 1), nullptr);
    EXPECT_EQ(move_to_sentence(nullptr, -1), nullptr);
    EXPECT_EQ(move_to_sentence(s[2], std::numeric_limits<int>::min()), nullptr);
}

TEST(TokenNavigation, CountTokens) {
    std::unique_ptr<Sentence> sentence(make_sentence("a b c"));
    fixture::add_concept(*sentence, token_at(*sentence, 0), token_at(*sentence, 1), "X");
    const auto& list = sentence->annotations;
    // Sentence concept, X, a, b, end marker, c, ...
    RawPtrIterator x(list.head->next);
    EXPECT_EQ(count_tokens(x, token_at(*sentence, 2)), 2u);
    EXPECT_EQ(count_tokens(x, x), 0u);
    EXPECT_EQ(count_tokens(list.begin(), list.end()), 3u);
}

TEST(TokenNavigation, MoveToToken) {
    std::unique_ptr<Sentence> sentence(make_sentence("a b c"));
    Concept* x =
        fixture::add_concept(*sentence, token_at(*sentence, 1), token_at(*sentence, 2), "X");
    // List: Sentence, a, X, b, c, end(X), end(Sentence), eos.
    const auto& list = sentence->annotations;
    Token* a = token_at(*sentence, 0);
    Token* b = token_at(*sentence, 1);
    Token* c = token_at(*sentence, 2);
    struct Case {
        const char* name;
        Annotation* at;
        int n;
        Annotation* expected;
    };
    const Case cases[] = {
        {"zero keeps a concept", x, 0, x},
        {"zero keeps the end", nullptr, 0, nullptr},
        {"forward counts every kind", a, 2, b},
        {"forward past the list", c, 10, nullptr},
        {"back one from a token", c, -1, b},
        {"back one skips concepts", b, -1, a},
        {"back two", c, -2, a},
        // The start counts as met when it is a token only.
        {"back one from a concept", x, -1, nullptr},
        {"back one from an end marker", x->end_annotation, -1, b},
        {"first token has no previous one", a, -1, nullptr},
        {"head is never examined", list.head, -1, nullptr},
        {"not enough tokens", c, -3, nullptr},
    };
    for (const Case& t : cases)
        EXPECT_EQ(move_to_token(list, t.at, t.n).get(), t.expected) << t.name;
}

} // namespace
} // namespace dez::trelix

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "analysis/token_merge_split.h"
#include "document/token_flags.h"
#include "tests/analysis/tokenizer_fixture.h"

namespace dez::trelix {
namespace {

using fixture::properties_of;
using fixture::spans_of;
using Strings = std::vector<std::string>;

struct Three {
    Three() : sentence(fixture::make_sentence("l ' homme")) {
        prev = fixture::token_at(*sentence, 0);
        cur = fixture::token_at(*sentence, 1);
        next = fixture::token_at(*sentence, 2);
        prev->properties = {"p"};
        next->properties = {"n"};
        for (Token* token : {prev, cur, next})
            token->readings.emplace_back("X", token->literal, 1.0);
    }
    std::unique_ptr<Sentence> sentence;
    Token* prev;
    Token* cur;
    Token* next;
};

TEST(MakeSingleToken, NeighboursMergeIntoTheMiddle) {
    struct Case {
        const char* name;
        bool with_prev;
        bool with_next;
        Strings spans;
        Strings properties;
    };
    const std::vector<Case> cases = {
        {"both", true, true, {"l'homme@0-9"}, {"p"}},
        {"prev only", true, false, {"l'homme@0-3", "homme@4-9"}, {"p"}},
        {"next only", false, true, {"l@0-1", "l'homme@2-9"}, {}},
        {"neither", false, false, {"l@0-1", "l'homme@2-3", "homme@4-9"}, {}},
    };
    for (const Case& c : cases) {
        Three three;
        make_single_token(three.sentence->annotations, "l'homme",
                          c.with_prev ? three.prev : nullptr, three.cur,
                          c.with_next ? three.next : nullptr);
        EXPECT_EQ(spans_of(*three.sentence), c.spans) << c.name;
        EXPECT_EQ(properties_of(*three.cur), c.properties) << c.name;
        EXPECT_TRUE(three.cur->readings.empty()) << c.name;
        EXPECT_EQ(three.cur->token_flags, token_flags::apostrophe_join) << c.name;
    }
}

TEST(MakeSplitToken, TextSplitOverAPair) {
    struct Case {
        const char* name;
        bool with_prev;
        bool with_next;
        Strings spans;
    };
    // "l ' homme": l@0-1, '@2-3, homme@4-9; split "l'" | "homme", byte_split 3.
    const std::vector<Case> cases = {
        {"prev and next", true, true, {"l'@0-3", "Homme@3-9"}},
        {"prev only", true, false, {"l'@0-3", "Homme@3-3", "homme@4-9"}},
        {"next only", false, true, {"l@0-1", "l'@2-5", "Homme@5-9"}},
    };
    for (const Case& c : cases) {
        Three three;
        make_split_token(three.sentence->annotations, "l'Homme", 2, 3,
                         c.with_prev ? three.prev : nullptr, three.cur,
                         c.with_next ? three.next : nullptr);
        EXPECT_EQ(spans_of(*three.sentence), c.spans) << c.name;
        for (const Token* token : fixture::tokens_of(*three.sentence)) {
            if (token->literal != "l'" && token->literal != "Homme")
                continue;
            EXPECT_TRUE(token->readings.empty()) << c.name;
            EXPECT_TRUE(token->token_flags & token_flags::apostrophe_join) << c.name;
            // Shape properties are those of the new literal only.
            EXPECT_EQ(properties_of(*token),
                      token->literal == "Homme" ? (Strings{"init-cap", "nf"}) : Strings{})
                << c.name;
        }
    }
}

TEST(MakeSplitToken, EdgeCases) {
    Three alone;
    make_split_token(alone.sentence->annotations, "l'homme", 2, 3, nullptr, alone.cur, nullptr);
    EXPECT_EQ(spans_of(*alone.sentence), (Strings{"l@0-1", "'@2-3", "homme@4-9"}));

    Three past;
    EXPECT_THROW(
        make_split_token(past.sentence->annotations, "ab", 3, 1, past.prev, past.cur, nullptr),
        std::out_of_range);
}

} // namespace
} // namespace dez::trelix

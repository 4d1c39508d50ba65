#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <unicode/rbbi.h>
#include <unicode/unistr.h>

#include "analysis/token_predicates.h"
#include "analysis/tokenizer_facade.h"
#include "document/concept.h"
#include "tests/analysis/tokenizer_fixture.h"

namespace dez::trelix {
namespace {

TEST(TokenPredicates, SpaceSections) {
    const icu::UnicodeString text(u"a \t\n\u00A0\u3000b");
    struct Case {
        int begin;
        int end;
        bool space;
    };
    const std::vector<Case> cases = {
        {1, 4, true},  {1, 6, true}, {0, 2, false}, {5, 7, false}, {3, 3, true}, // empty
        {6, 9, false},                                                           // past the string
    };
    for (const Case& c : cases)
        EXPECT_EQ(is_space_section(c.begin, c.end, text), c.space) << c.begin << "-" << c.end;
}

TEST(TokenPredicates, PunctuationAndOpeningQuotes) {
    struct Case {
        std::vector<std::string> pos;
        bool punctuation;
        bool open_quote;
    };
    const std::vector<Case> cases = {
        {{}, false, false},
        {{"Nn"}, false, false},
        {{"Punct"}, true, false},
        {{"Nn", "Punct-Comma"}, true, false},
        {{"Punct-Quote"}, true, true},
        {{"Punct-Open"}, true, true},
        {{"Punct-Close"}, true, false},
        {{"Punct-Quotes"}, true, false},
    };
    for (const Case& c : cases) {
        Token token(0, 1, "x");
        for (const std::string& pos : c.pos)
            token.readings.emplace_back(pos, "x", 1.0);
        EXPECT_EQ(is_punctuation(&token), c.punctuation) << ::testing::PrintToString(c.pos);
        EXPECT_EQ(is_open_quote(&token), c.open_quote) << ::testing::PrintToString(c.pos);
    }
    EXPECT_FALSE(is_punctuation(static_cast<const Token*>(nullptr)));
    EXPECT_FALSE(is_open_quote(nullptr));
    Concept concept_(0, 1, "Punct-Quote");
    EXPECT_FALSE(is_open_quote(&concept_));
}

// The token map's tags of the status the iterator stands on.
TEST(TokenPredicates, PunctuationStatusOfTheIterator) {
    fixture::Document document("");
    icu::RuleBasedBreakIterator* iterator = document->tokenizer->rule_based;
    ASSERT_NE(iterator, nullptr);
    const icu::UnicodeString text(u"word, 42!");
    iterator->setText(text);
    iterator->first();
    std::vector<bool> seen;
    while (iterator->next() != icu::BreakIterator::DONE)
        seen.push_back(is_punctuation(*document, iterator));
    EXPECT_EQ(seen, (std::vector<bool>{false, true, false, false, true}));
    EXPECT_FALSE(is_punctuation(*document, nullptr));
}

} // namespace
} // namespace dez::trelix

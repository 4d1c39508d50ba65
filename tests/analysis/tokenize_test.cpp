#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <unicode/unistr.h>
#include <utf8.h>

#include "analysis/offset_table16.h"
#include "analysis/tokenize.h"
#include "analysis/tokenizer_facade.h"
#include "document/concept.h"
#include "document/end_annotation.h"
#include "document/token_flags.h"
#include "foundation/exception.h"
#include "tests/analysis/tokenizer_fixture.h"

namespace dez::trelix {
namespace {

using fixture::Document;
using fixture::literals_of;
using fixture::pos_stem_readings;
using fixture::properties_of;
using fixture::spans_of;
using fixture::tokens_of;
using Strings = std::vector<std::string>;

TEST(Tokenize, SentenceShrinksToItsTokensAndIsClosed) {
    Document document("  Hello, world!  ");
    Sentence* sentence = document.tokenize_span(1, 17);
    ASSERT_TRUE(document.made);
    EXPECT_EQ(spans_of(*sentence), (Strings{"Hello@2-7", ",@7-8", "world@9-14", "!@14-15"}));
    EXPECT_EQ(sentence->begin, 2u);
    EXPECT_EQ(sentence->end, 15u);
    EXPECT_EQ(fixture::kinds(*sentence), "2,3,3,3,3,4,5");
    auto* head = static_cast<Concept*>(sentence->annotations.head);
    EXPECT_EQ(head->uri, "Sentence");
    EXPECT_EQ(head->begin, 2u);
    EXPECT_EQ(head->end, 15u);
    ASSERT_NE(head->end_annotation, nullptr);
    EXPECT_EQ(head->end_annotation->begin, 15u);
    EXPECT_EQ(head->end_annotation->concepts, std::vector<Annotation*>{head});
    EXPECT_EQ(sentence->annotations.tail->type, annotation_end_of_stream);
    EXPECT_EQ(sentence->annotations.tail->begin, 15u);

    // Shape properties and the rule statuses' readings.
    const std::vector<Token*> tokens = tokens_of(*sentence);
    EXPECT_EQ(properties_of(*tokens[0]), (Strings{"init-cap", "nf"}));
    EXPECT_EQ(pos_stem_readings(*tokens[1]), Strings{"Punct-Comma:,"});
    EXPECT_EQ(tokens[1]->token_flags, token_flags::rule_reading);
    EXPECT_EQ(pos_stem_readings(*tokens[3]), Strings{"Punct-Sent:!"});
}

TEST(Tokenize, WhiteSpaceMakesNoTokenAndLeavesTheSentenceAlone) {
    Document document("a    \t\n  b");
    Sentence* sentence = document.tokenize_span(1, 9);
    EXPECT_FALSE(document.made);
    EXPECT_TRUE(sentence->annotations.empty());
    EXPECT_EQ(sentence->begin, 1u);
    EXPECT_EQ(sentence->end, 9u);
}

TEST(Tokenize, RuleStatusesReachTheTokens) {
    struct Case {
        std::string text;
        Strings literals;
        size_t index; // the token looked at
        Strings readings;
        Strings properties;
        uint64_t flags;
    };
    using namespace token_flags;
    const std::vector<Case> cases = {
        {"42", {"42"}, 0, {"Num:42"}, {}, 0},
        {"1,000.5", {"1,000.5"}, 0, {"Num:1,000.5"}, {"_not_a_noun_"}, no_lookup},
        {"see <a class=x> here", {"see", "<a class=x>", "here"}, 1, {}, {"markup"}, markup},
        {"#topic", {"#topic"}, 0, {}, {"tag"}, property_lookup},
        {"@someone", {"@someone"}, 0, {}, {"prop_3000"}, 0},
        {"(x)", {"(", "x", ")"}, 0, {"Punct-Open:("}, {}, rule_reading},
        {"a \xE2\x80\x94 b",
         {"a", "\xE2\x80\x94", "b"},
         1,
         {"Punct-Line:\xE2\x80\x94"},
         {},
         rule_reading},
        {"$", {"$"}, 0, {"Nn-Sym:$"}, {"currency"}, 0},
    };
    for (const Case& c : cases) {
        Document document(c.text);
        Sentence* sentence = document.tokenize_all();
        ASSERT_EQ(literals_of(*sentence), c.literals) << c.text;
        const Token& token = *tokens_of(*sentence)[c.index];
        EXPECT_EQ(pos_stem_readings(token), c.readings) << c.text;
        EXPECT_EQ(properties_of(token), c.properties) << c.text;
        EXPECT_EQ(token.token_flags, c.flags) << c.text;
    }
}

TEST(Tokenize, ApostropheMarksTheSentence) {
    Document document("l'homme");
    Sentence* sentence = document.tokenize_all();
    EXPECT_EQ(literals_of(*sentence), (Strings{"l", "'", "homme"}));
    EXPECT_EQ(tokens_of(*sentence)[1]->token_flags, token_flags::apostrophe_join);
    EXPECT_EQ(sentence->sentence_flags, sentence_flags::has_apostrophe);
}

// Literals are normalised; offsets stay those of the text.
TEST(Tokenize, NormalisedLiteralsKeepTheirOffsets) {
    struct Case {
        std::string text;
        Strings spans;
    };
    const std::vector<Case> cases = {
        {"don\xE2\x80\x99t", {"don@0-3", "'@3-6", "t@6-7"}},
        {"\xE2\x80\x98x", {"'@0-3", "x@3-4"}},
        {"1\xE2\x80\x93"
         "2",
         {"1@0-1", "-@1-4", "2@4-5"}},
        {"cafe\xCC\x81 ok", {"caf\xC3\xA9@0-6", "ok@7-9"}},
        // No combining mark: a ligature stays as written.
        {"\xEF\xAC\x81ne", {"\xEF\xAC\x81ne@0-5"}},
    };
    for (const Case& c : cases) {
        Document document(c.text);
        EXPECT_EQ(spans_of(*document.tokenize_all()), c.spans) << c.text;
    }
}

TEST(Tokenize, WebAddressesBecomeOneToken) {
    struct Case {
        std::string text;
        Strings literals;
        size_t url; // index of the address token, or npos
    };
    const std::vector<Case> cases = {
        {"see https://example.com/a/b now", {"see", "https://example.com/a/b", "now"}, 1},
        {"at http://x.org/p", {"at", "http://x.org/p"}, 1},
        {"http", {"http"}, 0},
        // Case-sensitive, and the whole segment must be the scheme.
        {"see Https://example.com",
         {"see", "Https", ":", "/", "/", "example", ".", "com"},
         std::string::npos},
        {"httpx://a", {"httpx", ":", "/", "/", "a"}, std::string::npos},
    };
    for (const Case& c : cases) {
        Document document(c.text);
        Sentence* sentence = document.tokenize_all();
        ASSERT_EQ(literals_of(*sentence), c.literals) << c.text;
        const std::vector<Token*> tokens = tokens_of(*sentence);
        for (size_t i = 0; i < tokens.size(); ++i) {
            const bool is_url = i == c.url;
            EXPECT_EQ(tokens[i]->properties.count("internet"), is_url ? 1u : 0u) << c.text << i;
            EXPECT_EQ((tokens[i]->token_flags & token_flags::no_lookup) != 0, is_url)
                << c.text << i;
        }
    }
    Document document("see https://example.com/a/b now");
    const Token& url = *tokens_of(*document.tokenize_all())[1];
    EXPECT_EQ(pos_stem_readings(url), Strings{"Url:https://example.com"});
    EXPECT_EQ(url.readings.front().weight, 100.0);
    EXPECT_EQ(url.begin, 4u);
    EXPECT_EQ(url.end, 27u);
}

// The locale's word iterator has no rule statuses: addresses still get
// theirs, nothing else gets one.
TEST(Tokenize, LocaleIteratorReadsNoRuleStatus) {
    Document document("see https://example.com/a/b and 42.", "{}", "{}",
                      fixture::make_language_module("english"));
    ASSERT_EQ(document->tokenizer->rule_based, nullptr);
    Sentence* sentence = document.tokenize_all();
    ASSERT_EQ(literals_of(*sentence),
              (Strings{"see", "https://example.com/a/b", "and", "42", "."}));
    const std::vector<Token*> tokens = tokens_of(*sentence);
    EXPECT_EQ(pos_stem_readings(*tokens[1]), Strings{"Url:https://example.com"});
    EXPECT_TRUE(tokens[3]->readings.empty());
    EXPECT_TRUE(tokens[4]->readings.empty());
}

TEST(Tokenize, SpanRecordsJoinSegments) {
    struct Case {
        const char* name;
        std::string text;
        std::deque<AbbreviationRange> records;
        Strings spans;
        std::vector<uint64_t> flags;
        size_t records_left;
    };
    using namespace token_flags;
    const std::vector<Case> cases = {
        {"abbreviation",
         "see e.g. this",
         {{4, 8, 1}},
         {"see@0-3", "e.g.@4-8", "this@9-13"},
         {0, known_abbreviation, 0},
         0},
        {"header prefix", "1. Scope", {{0, 2, 2}}, {"1.@0-2", "Scope@3-8"}, {header_prefix, 0}, 0},
        {"both kinds",
         "A.B. x",
         {{0, 4, 3}},
         {"A.B.@0-4", "x@5-6"},
         {known_abbreviation | header_prefix, 0},
         0},
        // Records before the sentence are passed over, later ones kept.
        {"stale and later records",
         "ab e.g. x",
         {{1, 2, 1}, {3, 7, 1}, {50, 52, 1}},
         {"ab@0-2", "e.g.@3-7", "x@8-9"},
         {0, known_abbreviation, 0},
         1},
        // A segment that passes the record's end closes it.
        {"overrun", "abc x", {{0, 2, 1}}, {"abc@0-3", "x@4-5"}, {known_abbreviation, 0}, 0},
        // White space inside a record, or the sentence ending inside one:
        // the held-back text is not lost.
        {"space inside",
         "e. g. x",
         {{0, 5, 1}},
         {"e.@0-2", "g@3-4", ".@4-5", "x@6-7"},
         {0, 0, 0, 0},
         0},
        {"sentence ends inside", "x e.g", {{2, 9, 1}}, {"x@0-1", "e.g@2-5"}, {0, 0}, 0},
    };
    for (const Case& c : cases) {
        Document document(c.text);
        document->abbreviation_ranges = c.records;
        Sentence* sentence = document.tokenize_all();
        EXPECT_EQ(spans_of(*sentence), c.spans) << c.name;
        std::vector<uint64_t> flags;
        for (const Token* token : tokens_of(*sentence))
            flags.push_back(token->token_flags & (known_abbreviation | header_prefix));
        EXPECT_EQ(flags, c.flags) << c.name;
        EXPECT_EQ(document->abbreviation_ranges.size(), c.records_left) << c.name;
    }
}

// Measure statuses split what the measures expression matches.
TEST(Tokenize, MeasurementsSplit) {
    struct Case {
        std::string text;
        Strings spans;
        std::vector<Strings> readings;
        std::vector<Strings> properties;
    };
    const std::vector<Case> cases = {
        {"$100", {"$@0-1", "100@1-4"}, {{"Nn-Sym:$", "Nn-Sym:$"}, {"Num:100"}}, {{"currency"}, {}}},
        {"5kg", {"5@0-1", "kg@1-3"}, {{"Num:5"}, {"Nn-Sym:kg"}}, {{}, {"unit"}}},
        {"5k", {"5@0-1", "k@1-2"}, {{"Num:5"}, {"Num:k"}}, {{}, {"_mc_", "measure"}}},
        {"$5m",
         {"$@0-1", "5@1-2", "m@2-3"},
         {{"Nn-Sym:$", "Nn-Sym:$"}, {"Num:5"}, {}},
         {{"currency"}, {}, {"measure"}}},
        // A currency sign of several bytes: its first code point, not its
        // first byte, decides that the literal is no word.
        {"\xE2\x82\xAC"
         "5m",
         {"\xE2\x82\xAC@0-3", "5@3-4", "m@4-5"},
         {{"Nn-Sym:\xE2\x82\xAC", "Nn-Sym:\xE2\x82\xAC"}, {"Num:5"}, {}},
         {{"currency"}, {}, {"measure"}}},
        // The unit written A + U+030A: the literal holds U+00C5 (two bytes),
        // the text three; the unit still ends where the token did.
        {"5A\xCC\x8A x",
         {"5@0-1", "\xC3\x85@1-4", "x@5-6"},
         {{"Num:5"}, {"Nn-Sym:\xC3\x85"}, {}},
         {{}, {"unit"}, {}}},
        {"100", {"100@0-3"}, {{"Num:100"}}, {{}}},
    };
    for (const Case& c : cases) {
        Document document(c.text);
        document.use_measures();
        Sentence* sentence = document.tokenize_all();
        EXPECT_EQ(spans_of(*sentence), c.spans) << c.text;
        std::vector<Strings> readings;
        std::vector<Strings> properties;
        for (const Token* token : tokens_of(*sentence)) {
            readings.push_back(pos_stem_readings(*token));
            properties.push_back(properties_of(*token));
        }
        EXPECT_EQ(readings, c.readings) << c.text;
        EXPECT_EQ(properties, c.properties) << c.text;
    }
}

TEST(Tokenize, MeasurementFlags) {
    using namespace token_flags;
    struct Case {
        std::string text;
        std::vector<uint64_t> flags;
        uint64_t sentence_flags;
    };
    const std::vector<Case> cases = {
        {"$100", {no_lookup, no_lookup}, 0},
        {"5kg", {no_lookup, no_lookup}, 0},
        {"5k", {no_lookup, 0}, 0},
        {"5m", {0, unit_or_value}, sentence_flags::has_unit_or_value},
        {"$5m",
         {no_lookup, no_lookup, unit_or_value | multiplier},
         sentence_flags::has_unit_or_value},
    };
    for (const Case& c : cases) {
        Document document(c.text);
        document.use_measures();
        Sentence* sentence = document.tokenize_all();
        std::vector<uint64_t> flags;
        for (const Token* token : tokens_of(*sentence))
            flags.push_back(token->token_flags);
        EXPECT_EQ(flags, c.flags) << c.text;
        EXPECT_EQ(sentence->sentence_flags, c.sentence_flags) << c.text;
    }
}

TEST(Tokenize, UnicodeForm) {
    Document document("ab \xC3\xA9t\xC3\xA9");
    auto* sentence = new Sentence(0, 8);
    document->annotations->push_back(sentence);
    const icu::UnicodeString text = icu::UnicodeString::fromUTF8(document->text_copy);
    icu::UnicodeString out;
    auto table = get_offset_mapping_table(document->text, document->text + 8, out);
    EXPECT_TRUE(tokenize(*document, text, table));
    EXPECT_EQ(spans_of(*sentence), (Strings{"ab@0-2", "\xC3\xA9t\xC3\xA9@3-8"}));

    // Without a table the offsets are still bytes, never UTF-16 positions.
    auto* again = new Sentence(0, 8);
    document->annotations->push_back(again);
    EXPECT_TRUE(tokenize(*document, text, nullptr));
    EXPECT_EQ(spans_of(*again), (Strings{"ab@0-2", "\xC3\xA9t\xC3\xA9@3-8"}));
}

TEST(Tokenize, Failures) {
    Document document("a\xC3");
    EXPECT_THROW(document.tokenize_all(), utf8::not_enough_room);

    Document no_sentence("abc");
    try {
        tokenize(*no_sentence, no_sentence->text, no_sentence->text + 3);
        FAIL() << "no exception";
    } catch (const dez::Exception& e) {
        EXPECT_STREQ(e.what(), "tokenize: the document has no sentence to fill");
    }

    Document no_tokenizer("abc");
    no_tokenizer->set_languge_module(nullptr);
    EXPECT_THROW(no_tokenizer.tokenize_all(), dez::Exception);
}

} // namespace
} // namespace dez::trelix

namespace dez::trelix {
namespace {

// Both splitters add their sentences this way: a kept sentence is in the
// table, one without tokens or one whose tokenizing fails leaves nothing.
TEST(AddTokenizedSentence, KeepsOnlySentencesWithTokens) {
    fixture::Document document("Hi there.   ");
    EXPECT_TRUE(add_tokenized_sentence(*document, document->text, 0, 9));
    EXPECT_FALSE(add_tokenized_sentence(*document, document->text, 9, 12));
    ASSERT_EQ(document->sentences.size(), 1u);
    EXPECT_EQ(document->sentences.front().first, 0u);
    std::size_t sentences = 0;
    for (Annotation* a = document->annotations->head; a; a = a->next)
        sentences += a->type == annotation_sentence;
    EXPECT_EQ(sentences, 1u);

    document->tokenizer.reset();
    EXPECT_THROW(add_tokenized_sentence(*document, document->text, 0, 9), dez::Exception);
    EXPECT_EQ(document->sentences.size(), 1u);
    EXPECT_EQ(document->annotations->tail->type, annotation_sentence);
    EXPECT_EQ(document->annotations->tail, document->sentences.front().second.sentence);
}

} // namespace
} // namespace dez::trelix

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "analysis/sentence_boundaries.h"
#include "analysis/sentence_repair.h"
#include "tests/document/blackboard_fixture.h"

namespace dez::trelix {
namespace {

using fixture::token_at;

// What a word of the test texts carries: readings by part of speech (the
// literal as stem) and properties.
struct Word {
    std::vector<std::string> pos;
    std::vector<std::string> properties;
};

// A document whose sentences are the given texts, joined by one space.
// Tokens are the words between spaces and line feeds, and '~' parts two
// tokens that touch (it is not part of the text); a word found in the
// lexicon gets its readings and properties.
class Document {
public:
    Document(const std::vector<std::string>& sentences, const std::map<std::string, Word>& lexicon)
        : document(fixture::make_blackboard(analyzer)) {
        std::string text;
        for (const std::string& sentence : sentences) {
            if (!text.empty())
                text += ' ';
            add_sentence(sentence, text, lexicon);
        }
        document->set_text(text.data(), text.size());
        for (Annotation* a = document->annotations->head; a; a = a->next)
            for (Annotation* t = static_cast<Sentence*>(a)->annotations.head; t; t = t->next)
                if (t->type == annotation_token)
                    tokens.push_back(static_cast<Token*>(t));
    }

    // Token literals, sentences separated by " | ".
    std::string sentences() const {
        std::string out;
        for (Annotation* a = document->annotations->head; a; a = a->next) {
            if (a != document->annotations->head)
                out += " | ";
            bool first = true;
            for (Annotation* t = static_cast<Sentence*>(a)->annotations.head; t; t = t->next)
                if (t->type == annotation_token) {
                    out += (first ? "" : " ") + static_cast<Token*>(t)->literal;
                    first = false;
                }
        }
        return out;
    }

    std::vector<size_t> sizes() const {
        std::vector<size_t> out;
        for (Annotation* a = document->annotations->head; a; a = a->next) {
            size_t n = 0;
            for (Annotation* t = static_cast<Sentence*>(a)->annotations.head; t; t = t->next)
                n += t->type == annotation_token;
            out.push_back(n);
        }
        return out;
    }

    Token* token(const std::string& literal, int nth = 0) const {
        for (Token* t : tokens)
            if (t->literal == literal && nth-- == 0)
                return t;
        return nullptr;
    }

    // Each sentence: the "Sentence" concept over it first, its tokens, one
    // end annotation listing that concept, the end-of-stream marker last; at
    // least one token; the table lists the sentences in order; no token lost
    // or reordered.
    void expect_whole() const {
        const auto& table = document->sentences;
        size_t index = 0;
        std::vector<Token*> seen;
        for (Annotation* a = document->annotations->head; a; a = a->next, ++index) {
            SCOPED_TRACE("sentence " + std::to_string(index));
            ASSERT_EQ(a->type, annotation_sentence);
            auto* sentence = static_cast<Sentence*>(a);
            const auto& list = sentence->annotations;
            ASSERT_TRUE(list.head && list.head->type == annotation_concept);
            auto* head = static_cast<Concept*>(list.head);
            EXPECT_EQ(head->uri, "Sentence");
            ASSERT_TRUE(list.tail && list.tail->type == annotation_end_of_stream);
            EXPECT_EQ(list.tail->begin, sentence->end);
            int ends = 0;
            Token *first = nullptr, *last = nullptr;
            for (Annotation* x = list.head; x; x = x->next) {
                if (x->type == annotation_end) {
                    ++ends;
                    auto* marker = static_cast<EndAnnotation*>(x);
                    EXPECT_EQ(marker->concepts, std::vector<Annotation*>{head});
                    EXPECT_EQ(head->end_annotation, marker);
                    EXPECT_EQ(x->next, list.tail);
                }
                if (x->type == annotation_token) {
                    last = static_cast<Token*>(x);
                    first = first ? first : last;
                    seen.push_back(last);
                }
            }
            EXPECT_EQ(ends, 1);
            ASSERT_NE(first, nullptr) << "an empty sentence";
            EXPECT_EQ(sentence->begin, first->begin);
            EXPECT_EQ(sentence->end, last->end);
            EXPECT_EQ(head->begin, sentence->begin);
            EXPECT_EQ(head->end, sentence->end);
            ASSERT_LT(index, table.size());
            EXPECT_EQ(table[index].second.sentence, sentence);
            EXPECT_EQ(table[index].second.annotations, &sentence->annotations);
            EXPECT_EQ(table[index].first, sentence->begin);
        }
        EXPECT_EQ(table.size(), index);
        EXPECT_EQ(seen, tokens);
    }

    fixture::TestAnalyzer analyzer;
    std::unique_ptr<Blackboard> document;
    std::vector<Token*> tokens;

private:
    void add_sentence(const std::string& sentence_text, std::string& text,
                      const std::map<std::string, Word>& lexicon) {
        std::vector<fixture::TokenDef> defs;
        std::string word;
        const auto close = [&] {
            if (!word.empty())
                defs.push_back({word, uint32_t(text.size() - word.size()), uint32_t(text.size())});
            word.clear();
        };
        for (char c : sentence_text) {
            if (c == ' ' || c == '\n' || c == '~') {
                close();
                if (c != '~')
                    text += c;
                continue;
            }
            word += c;
            text += c;
        }
        close();
        Sentence* sentence = fixture::make_sentence(defs);
        document->annotations->push_back(sentence);
        document->sentences.emplace_back(sentence->begin, SentenceInfo(sentence));
        for (Annotation* a = sentence->annotations.head; a; a = a->next) {
            if (a->type != annotation_token)
                continue;
            auto* token = static_cast<Token*>(a);
            const auto word = lexicon.find(token->literal);
            if (word == lexicon.end())
                continue;
            for (const auto& pos : word->second.pos)
                token->readings.emplace_back(pos, token->literal, 0.5);
            token->properties.insert(word->second.properties.begin(),
                                     word->second.properties.end());
        }
    }
};

const std::map<std::string, Word> lexicon = {
    {".", {{"Punct-Sent"}, {}}},
    {"!", {{"Punct-Sent"}, {}}},
    {"?", {{"Punct-Sent"}, {}}},
    {"\"", {{"Punct-Quote"}, {}}},
    {"\u00AB", {{"Punct-Quote"}, {}}},
    {"\u00BB", {{"Punct-Quote"}, {}}},
    {"\u201E", {{"Punct-Quote"}, {}}},
    {"-", {{"Punct"}, {}}},
    {"##", {{"Punct-Line"}, {}}},
    {"---", {{"Punct-Line"}, {}}},
    {"#####", {{"Punct-Line"}, {}}},
    {":", {{"Punct-Colon"}, {}}},
    {"Dr.", {{"Nn-Std"}, {"abbrev", "init-cap"}}},
    {"etc.", {{"Nn-Std"}, {"abbrev"}}},
    {"The", {{"Det-Def"}, {"init-cap"}}},
    {"Then", {{"Adv"}, {"init-cap"}}},
    {"Smith", {{"Prop-Std"}, {"fam", "init-cap"}}},
    {"Jones", {{"Prop-Std"}, {"fam", "init-cap"}}},
    {"Li", {{"Prop-Std"}, {"fam", "init-cap"}}},
    {"John", {{"Prop-Std"}, {"giv", "init-cap"}}},
    {"Mary", {{"Prop-Std"}, {"giv", "init-cap"}}},
    {"john", {{"Prop-Std"}, {"giv"}}},
    {"Baker", {{"Nn-Std"}, {"init-cap"}}},
};

std::string words(int n) {
    std::string text;
    for (int k = 1; k <= n; ++k)
        text += (k > 1 ? " w" : "w") + std::to_string(k);
    return text;
}

TEST(SentenceRepair, TheTokenLimit) {
    struct Case {
        const char* name;
        int tokens;
        int limit; // 0: the start-up value
        std::vector<size_t> sizes;
    };
    const Case cases[] = {
        {"400 tokens under the default 150", 400, 0, {150, 150, 100}},
        {"exactly the limit", 150, 0, {150}},
        {"a limit of 5", 12, 5, {5, 5, 2}},
        {"a limit of 1", 3, 1, {1, 1, 1}},
    };
    ASSERT_EQ(std::getenv("TRELIX_MAX_NROF_TOKENS"), nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Document d({words(c.tokens)}, lexicon);
        if (c.limit == 0)
            fix_sentences(d.document.get());
        else
            fix_sentences(d.document.get(), c.limit);
        EXPECT_EQ(d.sizes(), c.sizes);
        d.expect_whole();
        // The first token of each new sentence starts it.
        size_t first = c.sizes[0];
        for (size_t k = 1; k < c.sizes.size(); ++k) {
            EXPECT_TRUE(d.tokens[first]->properties.count("init-token")) << first;
            first += c.sizes[k];
        }
    }
}

TEST(SentenceRepair, TheLimitCountsEachSentenceAfresh) {
    // The split at the line end goes on over the new sentence; its tokens
    // are counted from its own start.
    Document d({"a Dr.\nThe b c d e"}, lexicon);
    fix_sentences(d.document.get(), 3);
    EXPECT_EQ(d.sentences(), "a Dr. | The b c | d e");
    d.expect_whole();
}

TEST(SentenceRepair, TheTokenLimitComesFromTheEnvironment) {
    struct Case {
        const char* value; // null: unset
        int limit;
    };
    const Case cases[] = {{nullptr, 150}, {"40", 40}, {"7 tokens", 7}, {"many", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value ? c.value : "unset");
        if (c.value)
            setenv("TRELIX_MAX_NROF_TOKENS", c.value, 1);
        else
            unsetenv("TRELIX_MAX_NROF_TOKENS");
        EXPECT_EQ(get_trelix_max_nrof_tokens(), c.limit);
    }
    unsetenv("TRELIX_MAX_NROF_TOKENS");
}

TEST(SentenceRepair, Boundaries) {
    struct Case {
        const char* name;
        std::vector<std::string> sentences;
        std::string expected;
    };
    const Case cases[] = {
        {"a quotation ending a sentence before a capital",
         {"He said \" Stop . \" Then he left"},
         "He said \" Stop . \" | Then he left"},
        {"a quotation followed by an opening quote",
         {"\u00AB a b \u00BB \u00AB c \u00BB d"},
         "\u00AB a b \u00BB | \u00AB c \u00BB d"},
        {"the quoted passage is not examined",
         {"\" Stop . Go \" he said"},
         "\" Stop . Go \" he said"},
        {"end punctuation before a quote that opens the next sentence",
         {"He left .  \" Then"},
         "He left . | \" Then"},
        {"an unclosed quote does not hide the closing quote of the next sentence",
         {"\u00AB x \u00AB", "\u00AB a b \u00BB \u00AB c \u00BB d"},
         "\u00AB x \u00AB | \u00AB a b \u00BB | \u00AB c \u00BB d"},
        {"end punctuation inside an unclosed quotation",
         {"\u00AB He left .  \" x"},
         "\u00AB He left . \" x"},
        {"end punctuation directly before a quote", {"end .~\" Next"}, "end . | \" Next"},
        {"directly before a quote with only end punctuation after", {"end .~\" ."}, "end . \" ."},
        {"end punctuation before a line breaker", {"end . - next"}, "end . | - next"},
        {"end punctuation directly before a heading mark", {"end .~## Title"}, "end . | ## Title"},
        {"a line mark that is no heading", {"end .~--- Title"}, "end . --- Title"},
        {"a heading mark too long", {"end .~##### Title"}, "end . ##### Title"},
        {"an abbreviation at a line end before a capital",
         {"see Dr.\nThe end"},
         "see Dr. | The end"},
        {"before a lower-case word", {"see Dr.\nthe end"}, "see Dr. the end"},
        {"before a proper noun", {"see Dr.\nSmith now"}, "see Dr. Smith now"},
        {"without a line end", {"see Dr. The end"}, "see Dr. The end"},
        {"after text that is not ASCII",
         {"f\u00FCr \u00E9t\u00E9 Dr.\nThe end"},
         "f\u00FCr \u00E9t\u00E9 Dr. | The end"},
        {"the walk goes on after such a split",
         {"see Dr.\nThe etc.\nThe end"},
         "see Dr. | The etc. | The end"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Document d(c.sentences, lexicon);
        fix_sentences(d.document.get());
        EXPECT_EQ(d.sentences(), c.expected);
        d.expect_whole();
    }
}

// Every unclosed quote used to search to the sentence end again: 16,000 took
// seconds, these over a minute under the sanitizers.
TEST(SentenceRepair, ManyUnclosedQuotes) {
    struct Case {
        const char* name;
        std::string token;
    };
    const Case cases[] = {
        {"one kind", "\u00AB"},
        {"a quote with an alternative closing literal", "\u201E"},
        {"two kinds in turn", "\u201E \u00AB"},
    };
    constexpr int n = 30000;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string text;
        for (int k = 0; k < n; ++k)
            text += (k ? " " : "") + c.token;
        Document d({text}, lexicon);
        fix_sentences(d.document.get());
        const auto sizes = d.sizes();
        ASSERT_FALSE(sizes.empty());
        for (size_t k = 0; k + 1 < sizes.size(); ++k)
            ASSERT_EQ(sizes[k], 150u) << k;
        EXPECT_EQ(sizes.size(), (d.tokens.size() + 149) / 150);
        d.expect_whole();
    }
}

TEST(SentenceRepair, EndPunctuationThatEndsNothingIsDemoted) {
    struct Case {
        const char* name;
        std::vector<std::string> sentences;
        std::string literal;
        int nth;
        std::string pos;
    };
    const Case cases[] = {
        {"the first of two", {"Wow ! ?", "Yes"}, "!", 0, "Punct"},
        {"the second of two stays", {"Wow ! ?", "Yes"}, "?", 0, "Punct-Sent"},
        {"before an ordinary word", {"a . b c"}, ".", 0, "Punct"},
        {"directly before a colon", {"a .~: b"}, ".", 0, "Punct-Sent"},
        {"at the sentence end", {"a b .", "C"}, ".", 0, "Punct-Sent"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Document d(c.sentences, lexicon);
        fix_sentences(d.document.get());
        Token* token = d.token(c.literal, c.nth);
        ASSERT_NE(token, nullptr);
        ASSERT_EQ(token->readings.size(), 1u);
        EXPECT_EQ(token->readings.front().pos, c.pos);
        if (c.pos == "Punct") {
            EXPECT_EQ(token->readings.front().stem, c.literal);
            EXPECT_EQ(token->readings.front().weight, 1.0);
        }
        d.expect_whole();
    }
}

TEST(SentenceRepair, GivenAndFamilyNamesMerge) {
    struct Case {
        const char* name;
        std::vector<std::string> sentences;
        std::string expected;
    };
    const Case cases[] = {
        {"a given name ending one, a family name starting the next",
         {"I met John", "Smith yesterday"},
         "I met John Smith yesterday"},
        {"merged again after the merge",
         {"I met John", "Smith and Mary", "Jones left"},
         "I met John Smith and Mary Jones left"},
        {"a family name of three letters or less",
         {"I met John", "Li yesterday"},
         "I met John | Li yesterday"},
        {"a given name in lower case",
         {"I met john", "Smith yesterday"},
         "I met john | Smith yesterday"},
        {"no family name", {"I met John", "Baker yesterday"}, "I met John | Baker yesterday"},
        {"the given name not last", {"John met", "Smith"}, "John met | Smith"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Document d(c.sentences, lexicon);
        fix_sentences(d.document.get());
        EXPECT_EQ(d.sentences(), c.expected);
        d.expect_whole();
    }
}

TEST(SentenceRepair, AMergeThatTheLimitSplitsAgainEnds) {
    // The merged sentence is split again right where the two met.
    Document d({words(149) + " John", "Smith and more"}, lexicon);
    fix_sentences(d.document.get());
    EXPECT_EQ(d.sizes(), (std::vector<size_t>{150, 3}));
    d.expect_whole();
}

TEST(SentenceRepair, RandomDocumentsStayWhole) {
    // Words that trigger every rule, in random order and numbers, under a
    // small token limit: the repair ends, loses no token, and leaves every
    // sentence whole and non-empty.
    const std::vector<std::string> vocabulary = {
        ".",      "!",   "\"",   "\u00AB", "\u00BB", "-",    "##",    ":", "Dr.\n",
        "etc.\n", "The", "Then", "Smith",  "John",   "Mary", "Jones", "x", "y"};
    std::mt19937 random(20261211);
    for (int round = 0; round < 300; ++round) {
        std::vector<std::string> sentences;
        const int count = 1 + random() % 4;
        for (int s = 0; s < count; ++s) {
            std::string text;
            const int length = 1 + random() % 12;
            for (int w = 0; w < length; ++w) {
                const std::string& word = vocabulary[random() % vocabulary.size()];
                // Now and then two words touch.
                const char* gap = random() % 4 == 0 ? "~" : " ";
                text += (text.empty() || text.back() == '\n' ? "" : gap) + word;
            }
            sentences.push_back(text);
        }
        Document d(sentences, lexicon);
        SCOPED_TRACE("round " + std::to_string(round) + ": " + d.sentences());
        fix_sentences(d.document.get(), 1 + random() % 6);
        d.expect_whole();
        if (testing::Test::HasFailure())
            break;
    }
}

TEST(SentenceBoundaries, AppendStopsAtTheStopSentence) {
    Document d({"a b", "c d"}, lexicon);
    auto& collection = *d.document->annotations;
    auto table = d.document->sentences.begin();
    RawPtrIterator current(collection.head);
    RawPtrIterator stop(collection.head->next);
    const auto [sentence, position] =
        append_sentences(d.document.get(), collection, table, current, stop);
    EXPECT_EQ(sentence, collection.head->next);
    EXPECT_EQ(position, d.document->sentences.end());
    EXPECT_EQ(d.sentences(), "a b | c d");
    d.expect_whole();

    RawPtrIterator end = collection.end();
    const auto [merged, kept] = append_sentences(d.document.get(), collection, table, current, end);
    EXPECT_EQ(merged, collection.head);
    EXPECT_EQ(kept, d.document->sentences.begin());
    EXPECT_EQ(d.sentences(), "a b c d");
    d.expect_whole();
}

} // namespace
} // namespace dez::trelix

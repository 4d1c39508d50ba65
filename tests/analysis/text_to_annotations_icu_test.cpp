#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include <utf8.h>

#include "analysis/offset_table.h"
#include "tests/analysis/tokenizer_fixture.h"
#include "tests/document/log_capture.h"

namespace dez::trelix {
namespace {

using fixture::Document;
using fixture::literals_of;
using fixture::sentences_of;
using fixture::spans_of;
using Strings = std::vector<std::string>;

// The literals of each sentence, joined by spaces.
Strings sentence_texts(const Blackboard& blackboard) {
    Strings out;
    for (const Sentence* sentence : sentences_of(blackboard)) {
        std::string text;
        for (const std::string& literal : literals_of(*sentence))
            text += (text.empty() ? "" : " ") + literal;
        out.push_back(text);
    }
    return out;
}

TEST(TextToAnnotationsIcu, TextBecomesSentencesAndTokens) {
    Document document("The cat sat. It was $5m, see https://example.com/a/b now!\n\nThe end.");
    document.use_measures();
    document.split();
    EXPECT_EQ(sentence_texts(*document),
              (Strings{"The cat sat .", "It was $ 5 m , see https://example.com/a/b now !",
                       "The end ."}));
    const std::vector<Sentence*> sentences = sentences_of(*document);
    ASSERT_EQ(document->sentences.size(), 3u);
    for (size_t i = 0; i < 3; ++i)
        EXPECT_EQ(document->sentences[i].second.sentence, sentences[i]);
    EXPECT_EQ(document->sentences[1].first, 13u);
    // Sentences end at their last token, not at the white space after them.
    EXPECT_EQ(sentences[0]->begin, 0u);
    EXPECT_EQ(sentences[0]->end, 12u);
    EXPECT_EQ(sentences[1]->begin, 13u);
    EXPECT_EQ(fixture::kinds(*sentences[2]), "2,3,3,3,4,5");
}

TEST(TextToAnnotationsIcu, ShortSegmentsAreKeptWhenTheySaySomething) {
    struct Case {
        std::string text;
        Strings sentences;
    };
    const std::vector<Case> cases = {
        {"OK.", {"OK ."}},
        {"Hi", {"Hi"}},
        {"42", {"42"}},
        {"Hi! Go.", {"Hi !", "Go ."}},
        {"?!", {}},
        {"a", {"a"}},
        {"", {}},
        // White space alone makes no sentence and no table entry.
        {"   \n\n   ", {}},
    };
    for (const Case& c : cases) {
        Document document(c.text);
        document.split();
        EXPECT_EQ(sentence_texts(*document), c.sentences) << c.text;
        EXPECT_EQ(document->sentences.size(), c.sentences.size()) << c.text;
    }
}

TEST(TextToAnnotationsIcu, MultilineJoinsLinesEndingInAConnector) {
    struct Case {
        const char* name;
        const char* options;
        std::string text;
        size_t sentences;
    };
    const std::vector<Case> cases = {
        {"comma joins", R"({"multiline":","})", "first line,\nsecond line", 1},
        {"no option", "{}", "first line,\nsecond line", 2},
        {"no connector", R"({"multiline":","})", "first line\nsecond line", 2},
        {"blank line", R"({"multiline":","})", "first line,\n\nsecond line", 2},
        {"spaces and tabs", R"({"multiline":","})", "first line, \t \nsecond line", 1},
        {"carriage return", R"({"multiline":","})", "first line,\r\nsecond line", 2},
        {"carriage return connector", R"({"multiline":",\r"})", "first line,\r\nsecond line", 1},
        {"several connectors", R"({"multiline":",;"})", "a line;\nb line,\nc line", 1},
        // A sentence absorbs four following lines; the fifth boundary stands.
        {"six lines", R"({"multiline":","})", "l1,\nl2,\nl3,\nl4,\nl5,\nl6,\n", 2},
        {"last line", R"({"multiline":","})", "one,\n", 1},
    };
    for (const Case& c : cases) {
        Document document(c.text, c.options);
        document.split();
        EXPECT_EQ(document->sentences.size(), c.sentences) << c.name;
    }
    Document six("a,\nb,\nc,\nd,\ne,\nf,\n", R"({"multiline":","})");
    six.split();
    EXPECT_EQ(sentence_texts(*six), (Strings{"a , b , c , d , e ,", "f ,"}));
}

TEST(TextToAnnotationsIcu, ConnectorsAreLogged) {
    auto& log = fixture::runtime_log();
    log.clear();
    Document document("a,\nb", R"({"multiline":","})");
    document.split();
    const std::pair<unsigned short, std::string> line{dez::wlog::level_debug,
                                                      "Sentence Connectors: [,]"};
    EXPECT_NE(std::find(log.begin(), log.end(), line), log.end());
}

// Offsets are bytes of the text, whatever ICU counts in.
TEST(TextToAnnotationsIcu, OffsetsAreBytes) {
    const std::string text = "\xC3\x89t\xC3\xA9 \xF0\x9F\x98\x80 ok. Fin.";
    Document document(text);
    ASSERT_EQ(document->offset_table, nullptr);
    document.split();
    // Built when the caller did not, and used.
    ASSERT_NE(document->offset_table, nullptr);
    const std::vector<Sentence*> sentences = sentences_of(*document);
    ASSERT_EQ(sentences.size(), 2u);
    EXPECT_EQ(spans_of(*sentences[0]),
              (Strings{"\xC3\x89t\xC3\xA9@0-5", "\xF0\x9F\x98\x80@6-10", "ok@11-13", ".@13-14"}));
    EXPECT_EQ(spans_of(*sentences[1]), (Strings{"Fin@15-18", ".@18-19"}));

    // The given length bounds the text: an embedded NUL byte is a character.
    const std::string with_nul("One.\0Two.", 9);
    Document nul(with_nul);
    nul->offset_table = generate_offset_mappings(with_nul.data(), 9);
    nul.split();
    std::vector<std::string> spans;
    for (const Sentence* sentence : sentences_of(*nul))
        for (const std::string& span : spans_of(*sentence))
            spans.push_back(span);
    EXPECT_EQ(spans.back(), ".@8-9");
}

TEST(TextToAnnotationsIcu, Failures) {
    Document malformed("ok \xC3");
    EXPECT_THROW(malformed.split(), utf8::not_enough_room);

    // A table shorter than the text: the boundary lies outside it.
    Document short_table("Long enough text.");
    short_table->offset_table = generate_offset_mappings("abc", 3);
    EXPECT_THROW(short_table.split(), std::out_of_range);
}

TEST(TextToAnnotationsIcu, LocaleFromTheDocument) {
    Document document("Mr. Smith left. He came back.", "{}",
                      R"({"tokenizer_locale":"en@ss=standard"})");
    document.split();
    // With the suppressions of English, "Mr." ends no sentence.
    EXPECT_EQ(document->sentences.size(), 2u);
}

} // namespace
} // namespace dez::trelix

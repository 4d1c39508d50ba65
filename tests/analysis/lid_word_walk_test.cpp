#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/lid_word_walk.h"

namespace dez::lid {
namespace {

std::vector<std::string> words_of(const std::string& text) {
    WordWalk walk(text.data(), text.size());
    std::vector<std::string> words;
    std::string word;
    char32_t closing = 0;
    bool at_end = false;
    while (walk.next(word, closing, at_end))
        words.push_back(word);
    return words;
}

TEST(LidWordWalk, WordsAsTheIdentifierLooksThemUp) {
    struct Case {
        const char* text;
        std::vector<std::string> words;
    } cases[] = {
        {"", {}},
        {"und", {"und"}}, // the last word ends with the text
        {"der und", {"der", "und"}},
        {"x", {"x"}},
        {"und der.", {"und", "der."}}, // punctuation at the very end stays in the word
        {"z.b. und", {"z.b", "und"}},  // periods followed by a letter stay inside
        {"v1.2 ok", {"v1.2", "ok"}},
        {"3.14 und 42", {"und"}}, // digits open no word
        {"und, der; die", {"und", "der", "die"}},
        {"l'homme", {"l", "homme"}},
        {"das Haus steht", {"das", "steht"}},         // a name in mid-sentence
        {"Das ist. Der Hund", {"das", "ist", "der"}}, // lowered after a sentence end
        {"Ende! Wo? Hier", {"ende", "wo", "hier"}},
        {"THE end", {"end"}},              // acronym dropped
        {"THE Hund", {"hund"}},            // ... the sentence start stays
        {"Der THE Hund", {"der"}},         // mid-sentence: names skipped
        {"ein tHe mit", {"ein", "mit"}},   // inner capital dropped anywhere
        {"übÉr alles", {"übÉr", "alles"}}, // non-ASCII capitals stay
        {"Über alles", {"Über", "alles"}}, // and are not lowered
        {"ab\ncd\tef", {"ab", "cd", "ef"}},
        {"中文文本", {"中文文本"}}, // no spaces: one word
        {"中文，文本", {"中文", "文本"}},
        {"x+y", {"x+y"}}, // symbols go on inside
    };
    for (const Case& c : cases)
        EXPECT_EQ(words_of(c.text), c.words) << c.text;
}

TEST(LidWordWalk, ReportsWhatClosedTheWord) {
    const std::string text = "eins. zwei";
    WordWalk walk(text.data(), text.size());
    std::string word;
    char32_t closing = 0;
    bool at_end = true;
    ASSERT_TRUE(walk.next(word, closing, at_end));
    EXPECT_EQ(word, "eins");
    EXPECT_EQ(closing, U'.');
    EXPECT_FALSE(at_end);
    ASSERT_TRUE(walk.next(word, closing, at_end));
    EXPECT_EQ(word, "zwei");
    EXPECT_EQ(closing, U'i');
    EXPECT_TRUE(at_end);
    EXPECT_FALSE(walk.next(word, closing, at_end));
}

TEST(LidSentenceEnd, OnlyTheThreeSentenceMarks) {
    for (char32_t c : {U'!', U'.', U'?'})
        EXPECT_TRUE(sentence_end(c)) << uint32_t(c);
    for (char32_t c : {U',', U';', U':', U'\u3002', U'\uFF01', char32_t(0x21 + 64),
                       char32_t(0x2E + 64), char32_t(0x10FFFF)})
        EXPECT_FALSE(sentence_end(c)) << uint32_t(c);
}

} // namespace
} // namespace dez::lid

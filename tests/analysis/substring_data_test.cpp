#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <unicode/unistr.h>

#include "analysis/charmap.h"
#include "analysis/substring_data.h"

namespace dez::trelix {
namespace {

std::string utf8(const icu::UnicodeString& text) {
    std::string out;
    text.toUTF8String(out);
    return out;
}

TEST(SubstringData, LiteralsAreComposedAndQuotesAndDashesMapped) {
    struct Case {
        const char* name;
        std::u16string text;
        uint32_t start;
        uint32_t length;
        std::string literal;
        bool changes;
    };
    const std::vector<Case> cases = {
        {"plain", u"word", 0, 4, "word", false},
        {"part of the text", u"a word", 2, 3, "wor", false},
        {"combining acute", u"cafe\u0301", 0, 5, "caf\xC3\xA9", true},
        {"right single quote", u"don\u2019t", 0, 5, "don't", true},
        {"left single quote", u"\u2018x", 0, 2, "'x", true},
        {"en dash", u"1\u20132", 0, 3, "1-2", true},
        // Without a combining mark nothing is normalised, even what NFKC
        // would change.
        {"ligature stays", u"\uFB01ne", 0, 3, "\xEF\xAC\x81ne", false},
        // With one, the whole literal is.
        {"ligature with mark", u"\uFB01e\u0301", 0, 3, "fi\xC3\xA9", true},
        {"em dash kept", u"a\u2014b", 0, 3,
         "a\xE2\x80\x94"
         "b",
         false},
    };
    for (const Case& c : cases) {
        const icu::UnicodeString text(c.text.data(), static_cast<int32_t>(c.text.size()));
        EXPECT_EQ(utf8(get_substring_data(text, c.start, c.length)), c.literal) << c.name;
        EXPECT_EQ(needs_normalisation(text, c.start, c.length), c.changes) << c.name;
    }
}

TEST(CharMap, ThreeRows) {
    EXPECT_EQ(charmap.size(), 3u);
    EXPECT_EQ(map_char(u'\u2018'), u'\'');
    EXPECT_EQ(map_char(u'\u2019'), u'\'');
    EXPECT_EQ(map_char(u'\u2013'), u'-');
    EXPECT_EQ(map_char(u'\u2014'), u'\u2014');
    EXPECT_EQ(map_char(u'a'), u'a');
    EXPECT_EQ(charmap.find(u'\u201C'), charmap_end);
}

} // namespace
} // namespace dez::trelix

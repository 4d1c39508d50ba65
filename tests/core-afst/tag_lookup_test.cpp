#include "core-afst/tag_lookup.h"

#include "core-afst/afst.h"
#include "core-afst/lookup_converter.h"
#include "lexicon_fixture.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using dez::afst::AFst;
using dez::afst::TagLookup;
using Strings = std::vector<std::string>;

std::shared_ptr<AFst> tags() {
    static const auto afst = std::make_shared<AFst>(afst_test::load_lexicon("tags.txt"));
    return afst;
}

Strings chunks(const std::string& word) {
    Strings texts;
    for (const auto& chunk : dez::afst::is_camelcase(word))
        texts.emplace_back(chunk.first, chunk.second);
    return texts;
}

TEST(TagLookup, Readings) {
    struct Case {
        std::string word;
        Strings expected;
    };
    const Case cases[] = {
        // not a tag
        {"", {}},
        {"greatday", {}},
        {"x#greatday", {}},
        {"#", {}},
        {"@", {}},
        // compound road
        {"#greatday", {"#+hash-tag#great+Adj#day+Nn-Sg"}},
        {"@greatday", {"#+add-tag#great+Adj#day+Nn-Sg"}},
        {"##greatday", {"#+hash-tag#great+Adj#day+Nn-Sg"}},
        // an '@' after the '#' begins the one chunk, which is not lower case:
        // the camel-case road
        {"#@greatday", {"#+hash-tag#@greatday+Nn-Std+TLNF"}},
        {"#great", {}},
        {"#greatday2021", {"#+hash-tag#great+Adj#day+Nn-Sg#2021+Num"}},
        {"#great_day", {"#+hash-tag#great+Adj#day+Nn-Sg"}},
        {"#greatxday", {}},
        // the body is matched as written on this road
        {"#greatDay", {}},
        // the literals are compared with the body, which "mystart" spells
        {"#mystartup", {"#+hash-tag#my+Det#start+V#up+Adv"}},
        // camel-case road
        {"#GreatDay", {"#+hash-tag#great+Adj#day+Nn-Sg"}},
        {"#GreatDay2021", {"#+hash-tag#great+Adj#day+Nn-Sg#2021+Num-Std"}},
        {"#2021Goals", {"#+hash-tag#2021+Num-Std#goal+Nn-Pl"}},
        {"#Love_You", {"#+hash-tag#love+V#you+Pron"}},
        {"#ILoveNY", {"#+hash-tag#I+Pron#love+V#NY+Nn-Std+all-cap"}},
        {"@I", {"#+add-tag#I+Pron"}},
        // four capitals are not tried in lower case, three are
        {"#NASA", {"#+hash-tag#NASA+Nn-Std+all-cap"}},
        {"#NBA", {"#+hash-tag#nba+Prop"}},
        {"#CIA", {"#+hash-tag#CIA+Nn-Std+all-cap"}},
        {"#Xyzzy", {"#+hash-tag#Xyzzy+Nn-Std+TLNF"}},
        {"#Great\xc3\x9c"
         "ber",
         {"#+hash-tag#great+Adj#\xc3\x9c"
          "ber+Nn-Std+TLNF"}},
    };
    TagLookup lookup(tags(), dez::afst::get_lowercase_converter());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.word);
        EXPECT_EQ(lookup.up(c.word), c.expected);
    }
}

TEST(TagLookup, WithoutConverter) {
    TagLookup lookup(afst_test::load_lexicon("tags.txt"), nullptr);
    EXPECT_EQ(lookup.type(), 9);
    EXPECT_EQ(lookup.up("#GreatDay"), (Strings{"#+hash-tag#Great+Nn-Std+TLNF#Day+Nn-Std+TLNF"}));
    EXPECT_EQ(lookup.up("#NBA"), (Strings{"#+hash-tag#NBA+Nn-Std+all-cap"}));
    EXPECT_EQ(lookup.up("#greatday"), (Strings{"#+hash-tag#great+Adj#day+Nn-Sg"}));
}

TEST(TagLookup, FirstAnalysisOnly) {
    TagLookup lookup(tags(), dez::afst::get_lowercase_converter());
    const Strings readings = lookup.up("#Walk");
    ASSERT_EQ(readings.size(), 1u);
    EXPECT_TRUE(readings[0] == "#+hash-tag#walk+V-Inf" || readings[0] == "#+hash-tag#walk+Nn-Sg")
        << readings[0];
    // the same one on every call
    EXPECT_EQ(lookup.up("#Walk"), readings);
}

TEST(TagLookup, MalformedUtf8) {
    TagLookup lookup(tags(), nullptr);
    EXPECT_ANY_THROW(lookup.up("#Gr\xff"));
    EXPECT_ANY_THROW(lookup.up("#gr\xff"));
}

TEST(TagChunks, IsCamelcase) {
    struct Case {
        std::string word;
        Strings expected;
    };
    const Case cases[] = {
        {"", {}},
        {"#", {}},
        {"#a", {"a"}},
        {"#ILoveNY", {"I", "Love", "NY"}},
        {"#ABCdef", {"AB", "Cdef"}},
        {"#Love_You", {"Love", "You"}},
        {"#Love__You", {"Love", "You"}},
        {"#_Love", {"Love"}},
        {"#2021Goals", {"2021", "Goals"}},
        {"#greatday2021", {"greatday", "2021"}},
        {"#GreatDay2021", {"Great", "Day", "2021"}},
        {"#NY1", {"NY", "1"}},
        {"#aBc", {"aBc"}},
        {"#ab#cd", {"ab", "cd"}},
        // the '#' drops what the rules had not ended before it
        {"#AB#cd", {"cd"}},
        // the last character always ends the chunk it is in
        {"#a_", {"a_"}},
        {"#Gro\xc3\x9f\xc3\x84rger", {"Gro\xc3\x9f", "\xc3\x84rger"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.word);
        EXPECT_EQ(chunks(c.word), c.expected);
    }
}

TEST(TagChunks, Helpers) {
    const auto caps = [](const std::string& text) {
        return dez::afst::all_caps({text.data(), text.data() + text.size()});
    };
    EXPECT_TRUE(caps("NASA"));
    EXPECT_TRUE(caps(""));
    EXPECT_TRUE(caps("\xc3\x84\xc3\x96"));
    EXPECT_FALSE(caps("NaSA"));
    EXPECT_FALSE(caps("N1"));
    EXPECT_FALSE(caps("N-Y"));

    EXPECT_EQ(dez::afst::get_tag_property("#x"), "#+hash-tag");
    EXPECT_EQ(dez::afst::get_tag_property("@"), "#+add-tag");
    EXPECT_EQ(dez::afst::get_tag_property("x#"), "");
    EXPECT_EQ(dez::afst::get_tag_property(""), "");
    EXPECT_EQ(&dez::afst::get_tag_property("#a"), &dez::afst::get_tag_property("#b"));

    EXPECT_TRUE(dez::afst::is_tag_begin_char('#'));
    EXPECT_TRUE(dez::afst::is_tag_begin_char('@'));
    EXPECT_FALSE(dez::afst::is_tag_begin_char('a'));
    EXPECT_FALSE(dez::afst::is_tag_begin_char(0x100000023ull));

    std::vector<dez::afst::CompoundSegmentation> segmentations(2);
    segmentations[0].emplace_back(0, 1, "a");
    dez::afst::filter_entries_of_size_one(segmentations);
    EXPECT_EQ(segmentations.size(), 2u);
    EXPECT_EQ(segmentations[0].size(), 1u);
}

} // namespace

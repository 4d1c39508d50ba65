#include "core-afst/compound_ranking.h"
#include "core-afst/compound_stem.h"
#include "core-afst/compound_tags.h"
#include "core-afst/end_offset_result_part_v2.h"
#include "core-afst/match_section.h"
#include "core-afst/results_memento_v2.h"

#include <gtest/gtest.h>

#include <utf8.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using dez::afst::CompoundSegmentation;
using dez::afst::EndOffsetResultPartV2;
using Segmentations = std::vector<CompoundSegmentation>;
using Strings = std::vector<std::string>;

// A segmentation from (start, end, analysis) triples.
CompoundSegmentation seg(std::initializer_list<EndOffsetResultPartV2> parts) {
    return CompoundSegmentation(parts);
}

Strings analyses(const CompoundSegmentation& segmentation) {
    Strings texts;
    for (const auto& part : segmentation)
        texts.push_back(part.analysis);
    return texts;
}

TEST(CompoundTags, Predicates) {
    struct Case {
        std::string analysis;
        std::string stem;
        bool invalid, prefix, affix;
        std::size_t second_plus;
    };
    const auto none = std::string::npos;
    const Case cases[] = {
        {"arbeit+N", "arbeit", false, false, false, none},
        {"tages+N+gen", "tages", true, false, false, 7},
        {"das+Det+def", "das", true, false, false, 7},
        {"gen", "gen", false, false, false, none},
        {"+gen", "", true, false, false, none},
        {"ur+Prefix", "ur", false, true, false, none},
        {"ur+Prefixed+N", "ur", false, true, false, 11},
        {"ur+N+Prefix", "ur", false, false, false, 4},
        {"Prefix", "Prefix", false, false, false, none},
        {"heit+Affix", "heit", false, false, true, none},
        {"+Affix", "", false, false, true, none},
        {"", "", false, false, false, none},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.analysis);
        EXPECT_EQ(dez::afst::fst_label_stem(c.analysis), c.stem);
        EXPECT_EQ(dez::afst::has_invalid_tags(c.analysis), c.invalid);
        EXPECT_EQ(dez::afst::has_prefix_tag(c.analysis), c.prefix);
        EXPECT_EQ(dez::afst::has_affix_tag(c.analysis), c.affix);
        EXPECT_EQ(dez::afst::has_properties(c.analysis), c.second_plus);
    }
}

TEST(CompoundTags, SkipCharacters) {
    EXPECT_TRUE(dez::afst::skip_characters('_'));
    EXPECT_TRUE(dez::afst::skip_characters('7'));
    EXPECT_TRUE(dez::afst::skip_characters(0x0663)); // Arabic-Indic three
    EXPECT_FALSE(dez::afst::skip_characters('a'));
    EXPECT_FALSE(dez::afst::skip_characters('-'));
}

TEST(EndOffsetResultPartV2, LiteralAndTags) {
    EndOffsetResultPartV2 part(0, 6, "arbeit+N+Sg");
    EXPECT_EQ(part.score, 100);
    EXPECT_EQ(part.literal(), "arbeit");
    EXPECT_EQ(part.tags(), "+N+Sg");

    // The views never point into another record's text.
    EndOffsetResultPartV2 copy = part;
    part.analysis = "xy";
    EXPECT_EQ(copy.literal(), "arbeit");
    EXPECT_EQ(copy.literal().data(), copy.analysis.data());
    EXPECT_EQ(part.literal(), "xy");
    EXPECT_EQ(part.tags(), "");
    std::vector<EndOffsetResultPartV2> moved;
    moved.push_back(std::move(copy));
    EXPECT_EQ(moved[0].literal(), "arbeit");
    EXPECT_EQ(moved[0].tags(), "+N+Sg");

    const EndOffsetResultPartV2 tags_only(0, 4, "+Dim");
    EXPECT_EQ(tags_only.literal(), "");
    EXPECT_EQ(tags_only.tags(), "+Dim");
}

TEST(CompoundNumberWords, IsValidCompound) {
    struct Case {
        Strings parts; // the last one is the component being recorded
        bool valid;
    };
    const Case cases[] = {
        {{"zwei+Num-Std", "und+Conj-Coord", "zwanzig+Num-Std"}, true},
        {{"zwei+Num-Std", "zwanzig+Num-Std"}, true},
        {{"amt+N", "zwanzig+Num-Std"}, false},
        {{"zwanzig+Num-Std", "amt+N"}, true},
        {{"amt+N", ""}, true},
        {{"zwanzig+Num-Std"}, true},
    };
    for (const auto& c : cases) {
        dez::afst::ResultsMementoV2 memento;
        for (const auto& analysis : c.parts)
            memento.parts.emplace_back(0, 1, analysis);
        EXPECT_EQ(dez::afst::is_valid_compound(memento, memento.parts.back()), c.valid)
            << c.parts.back();
    }
}

TEST(CompoundStem, Arbeitsamt) {
    const auto parts = seg({{0, 6, "arbeit+N"}, {7, 10, "amt+N"}});
    EXPECT_EQ(dez::afst::construct_stem_v3("Arbeitsamt", parts), "#$Arbeitsamt#arbeit+N#amt+N");
    EXPECT_EQ(dez::afst::construct_stem_v2("Arbeitsamt", parts), "#arbeit+N#amt+N");
    EXPECT_EQ(dez::afst::construct_literal("Arbeitsamt", parts), "#$Arbeitsamt#arbeit+N#amt+N");
}

TEST(CompoundStem, Forms) {
    struct Case {
        std::string word;
        CompoundSegmentation parts;
        std::string v3, v2, literal;
    };
    const Case cases[] = {
        // only the lemma's first letter is lower-cased
        {"Amtusa", seg({{0, 3, "amt+N"}, {3, 6, "USA+Prop"}}), "#$AmtuSA#amt+N#USA+Prop",
         "#amt+N#USA+Prop", "#$Amtusa#amt+N#USA+Prop"},
        {"Hausamt", seg({{0, 4, "haus+N"}, {4, 7, "Amt+N"}}), "#$Hausamt#haus+N#Amt+N",
         "#haus+N#Amt+N", "#$Hausamt#haus+N#Amt+N"},
        // a cleared prefix adds nothing but its letters in the stem
        {"Urwald", seg({{0, 2, ""}, {2, 6, "wald+N"}}), "#$Urwald#wald+N", "#wald+N",
         "#$Urwald#wald+N"},
        // an analysis that begins with '#' gets no second one
        {"xy", seg({{0, 1, "#x+N"}, {1, 2, "y+N"}}), "#$xy#x+N#y+N", "##x+N#y+N", "#$xy#x+N#y+N"},
        // a word with '#': the v2 form
        {"c#amt", seg({{0, 2, "c#+Prog"}, {2, 5, "amt+N"}}), "#c#+Prog#amt+N", "#c#+Prog#amt+N",
         "#$c#amt#c#+Prog#amt+N"},
        // no lemma in the last component (cleared affix, tags only): the v2
        // form instead of a failure
        {"Arbeitheit", seg({{0, 6, "arbeit+N"}, {6, 10, ""}}), "#arbeit+N", "#arbeit+N",
         "#$Arbeitheit#arbeit+N"},
        {"Hauschen", seg({{0, 4, "haus+N"}, {4, 8, "+Dim"}}), "#haus+N#+Dim", "#haus+N#+Dim",
         "#$Hauschen#haus+N#+Dim"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.word);
        EXPECT_EQ(dez::afst::construct_stem_v3(c.word, c.parts), c.v3);
        EXPECT_EQ(dez::afst::construct_stem_v2(c.word, c.parts), c.v2);
        EXPECT_EQ(dez::afst::construct_literal(c.word, c.parts), c.literal);
    }
}

// Offsets from a converted word that changed length: the cut stays inside
// the word and on a character boundary.
TEST(CompoundStem, CutClampedToTheWord) {
    struct Case {
        std::string word;
        int64_t last_start;
        std::string expected;
    };
    const Case cases[] = {
        // U+1E9E is three bytes, its lower case two: 5 falls inside it
        {"GRO\xe1\xba\x9e"
         "AMT",
         5, "#$GROamt#gro\xc3\x9f+Adj#amt+N"},
        {"GRO\xe1\xba\x9e"
         "AMT",
         4, "#$GROamt#gro\xc3\x9f+Adj#amt+N"},
        {"GRO\xe1\xba\x9e"
         "AMT",
         6,
         "#$GRO\xe1\xba\x9e"
         "amt#gro\xc3\x9f+Adj#amt+N"},
        {"AMT", 40, "#$AMTamt#gro\xc3\x9f+Adj#amt+N"},
        {"AMT", -3, "#$amt#gro\xc3\x9f+Adj#amt+N"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.last_start);
        const auto parts =
            seg({{0, 5, "gro\xc3\x9f+Adj"}, {c.last_start, c.last_start + 3, "amt+N"}});
        const std::string text = dez::afst::construct_stem_v3(c.word, parts);
        EXPECT_EQ(text, c.expected);
        EXPECT_TRUE(utf8::is_valid(text.begin(), text.end()));
    }
}

// Offsets that count bytes of the converted word: the cut into the word as
// given falls after as many characters as the converted word has before the
// offset.
TEST(CompoundStem, CutCarriedOverByCharacters) {
    struct Case {
        std::string word, converted;
        int64_t last_start;
        std::string stem; // the result up to the first '#' after "#$"
    };
    const Case cases[] = {
        // U+1E9E (three bytes) lower-cased to U+00DF (two)
        {"GRO\xe1\xba\x9e"
         "AMT",
         "gro\xc3\x9f"
         "amt",
         5,
         "GRO\xe1\xba\x9e"
         "amt"},
        // a converter that makes a character longer
        {"Xamt",
         "\xc3\xa9"
         "amt",
         2, "Xamt"},
        // unchanged lengths
        {"Arbeitsamt", "arbeitsamt", 7, "Arbeitsamt"},
        // the converted word has more characters than the word
        {"\xc3\x84", "arbeitsamt", 7,
         "\xc3\x84"
         "amt"},
        // offsets outside the converted word
        {"AMT", "amt", 40, "AMTamt"},
        {"AMT", "amt", -3, "amt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.word + " / " + c.converted);
        const auto parts = seg({{0, 3, "x+N"}, {c.last_start, c.last_start + 3, "amt+N"}});
        const std::string text = dez::afst::construct_stem_v3(c.word, c.converted, parts);
        EXPECT_EQ(text, "#$" + c.stem + "#x+N#amt+N");
        EXPECT_EQ(dez::afst::construct_stems_v3(c.word, c.converted, {parts, parts}),
                  (std::vector<std::string>{text, text}));
    }
    // A word with '#' keeps the v2 form.
    EXPECT_EQ(
        dez::afst::construct_stem_v3("c#amt", "c#amt", seg({{0, 2, "c#+Prog"}, {2, 5, "amt+N"}})),
        "#c#+Prog#amt+N");
}

TEST(CompoundRanking, NoCompoundReading) {
    Segmentations none;
    EXPECT_LT(dez::afst::get_most_likely_components("amt", none), 0);

    Segmentations one = {seg({{0, 3, "amt+N"}})};
    EXPECT_LT(dez::afst::get_most_likely_components("amt", one), 0);
    EXPECT_TRUE(one.empty());

    // the word is a lexicon word itself: all are dropped
    Segmentations word = {seg({{0, 4, "tor+N"}, {4, 7, "haus+N"}}), seg({{0, 7, "torhaus+N"}})};
    EXPECT_LT(dez::afst::get_most_likely_components("torhaus", word), 0);
    EXPECT_TRUE(word.empty());
}

TEST(CompoundRanking, Kept) {
    struct Case {
        const char* name;
        std::string word;
        Segmentations segmentations;
        std::vector<Strings> kept;
    };
    const Case cases[] = {
        {"single compound",
         "arbeitsamt",
         {seg({{0, 6, "arbeit+N"}, {7, 10, "amt+N"}})},
         {{"arbeit+N", "amt+N"}}},
        {"fewest components",
         "torhausamt",
         {seg({{0, 3, "tor+N"}, {3, 7, "haus+N"}, {7, 10, "amt+N"}}),
          seg({{0, 7, "torhaus+N"}, {7, 10, "amt+N"}})},
         {{"torhaus+N", "amt+N"}}},
        {"first literals differ",
         "staubecken",
         {seg({{0, 5, "staub+N"}, {5, 10, "ecke+N"}}), seg({{0, 4, "stau+N"}, {4, 10, "becken+N"}}),
          seg({{0, 1, "s+X"}, {1, 5, "taub+X"}, {5, 10, "ecke+N"}})},
         {{"staub+N", "ecke+N"}, {"stau+N", "becken+N"}}},
        {"word spells the first",
         "mystartup",
         {seg({{0, 2, "my+Det"}, {2, 6, "star+N"}, {6, 9, "tup+N"}}),
          seg({{0, 2, "my+Det"}, {2, 7, "start+V"}, {7, 9, "up+Adv"}})},
         {{"my+Det", "star+N", "tup+N"}}},
        {"word spells the second",
         "mystartup",
         {seg({{0, 2, "my+Det"}, {2, 5, "stu+N"}, {5, 9, "rtup+N"}}),
          seg({{0, 2, "my+Det"}, {2, 7, "start+V"}, {7, 9, "up+Adv"}})},
         {{"my+Det", "start+V", "up+Adv"}}},
        {"neither, not last",
         "xxxxxxxx",
         {seg({{0, 2, "ab+X"}, {2, 5, "cde+X"}, {5, 8, "fgh+X"}}),
          seg({{0, 2, "ab+X"}, {2, 4, "cd+X"}, {4, 8, "efgh+X"}}),
          seg({{0, 2, "ab+X"}, {2, 3, "c+X"}, {3, 8, "defgh+X"}})},
         {{"ab+X", "cde+X", "fgh+X"}, {"ab+X", "cd+X", "efgh+X"}}},
        {"last, first is a noun",
         "xxxxx",
         {seg({{0, 2, "ab+X"}, {2, 5, "cde+Nn-Sg"}}), seg({{0, 2, "ab+X"}, {2, 4, "cd+Nn-Sg"}})},
         {{"ab+X", "cde+Nn-Sg"}}},
        // "+Nn" has two letters after the '+': no noun tag
        {"last, short tag: all kept",
         "xxxxx",
         {seg({{0, 2, "ab+X"}, {2, 5, "cde+Nn"}}), seg({{0, 2, "ab+X"}, {2, 4, "cd+Nn-Sg"}}),
          seg({{0, 2, "ab+X"}, {2, 3, "c"}})},
         {{"ab+X", "cde+Nn"}, {"ab+X", "cd+Nn-Sg"}, {"ab+X", "c"}}},
        {"last, second is a noun",
         "xxxxx",
         {seg({{0, 2, "ab+X"}, {2, 5, "cde"}}), seg({{0, 2, "ab+X"}, {2, 4, "cd+Adj+Nom"}})},
         {{"ab+X", "cd+Adj+Nom"}}},
        {"last, no noun: all kept",
         "xxxxx",
         {seg({{0, 2, "ab+X"}, {2, 5, "cde+Adj"}}), seg({{0, 2, "ab+X"}, {2, 4, "cd+Nom"}}),
          seg({{0, 2, "ab+X"}, {2, 3, "c+V"}})},
         {{"ab+X", "cde+Adj"}, {"ab+X", "cd+Nom"}, {"ab+X", "c+V"}}},
        {"all literals equal",
         "bandamt",
         {seg({{0, 4, "band+Nn"}, {4, 7, "amt+N"}}), seg({{0, 4, "band+V"}, {4, 7, "amt+N"}}),
          seg({{0, 4, "band+Adj"}, {4, 7, "amt+N"}})},
         {{"band+Nn", "amt+N"}, {"band+V", "amt+N"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Segmentations segmentations = c.segmentations;
        EXPECT_GE(dez::afst::get_most_likely_components(c.word, segmentations), 0);
        std::vector<Strings> kept;
        for (const auto& segmentation : segmentations)
            kept.push_back(analyses(segmentation));
        EXPECT_EQ(kept, c.kept);
    }
}

// Equal component counts keep the order they were found in, however many.
TEST(CompoundRanking, StableOrder) {
    Segmentations segmentations;
    for (int i = 0; i < 40; ++i) {
        const std::string label = std::to_string(i);
        if (i < 20)
            segmentations.push_back(seg({{0, 1, "a" + label}, {1, 2, "b"}, {2, 3, "c"}}));
        else
            segmentations.push_back(seg({{0, 1, "a" + label}, {1, 3, "bc"}}));
    }
    for (int i = 0; i < 40; i += 3)
        std::swap(segmentations[i], segmentations[39 - i]);
    Segmentations expected_source = segmentations;
    Strings expected;
    for (const auto& segmentation : expected_source)
        if (segmentation.size() == 2 && expected.size() < 2)
            expected.push_back(segmentation.front().analysis);

    ASSERT_GE(dez::afst::get_most_likely_components("abc", segmentations), 0);
    ASSERT_EQ(segmentations.size(), 2u);
    EXPECT_EQ(segmentations[0].front().analysis, expected[0]);
    EXPECT_EQ(segmentations[1].front().analysis, expected[1]);
}

TEST(CompoundRanking, FilterGenetives) {
    Segmentations segmentations = {
        seg({{0, 6, "arbeit+N"}, {6, 11, "tages+N+gen"}, {11, 15, "zeit+N"}}),
        seg({{0, 6, "arbeit+N"}, {6, 11, "tages+N+gen"}}),
        seg({}),
        seg({{0, 3, "das+Det+def"}, {3, 7, "haus+N"}}),
        seg({{0, 4, "haus+N"}, {4, 7, "amt+N"}}),
    };
    dez::afst::filter_genetives(segmentations);
    ASSERT_EQ(segmentations.size(), 2u);
    EXPECT_EQ(analyses(segmentations[0]), (Strings{"arbeit+N", "tages+N+gen"}));
    EXPECT_EQ(analyses(segmentations[1]), (Strings{"haus+N", "amt+N"}));
}

} // namespace

#include "core-afst/compound_lookup_numbers.h"
#include "core-afst/compound_lookup_v2.h"
#include "core-afst/compound_lookup_v3.h"

#include "core-afst/afst.h"
#include "core-afst/lookup_converter.h"
#include "core-afst/lookup_interface.h"
#include "lexicon_fixture.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <utf8.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using dez::afst::AFst;
using dez::afst::CompoundLookupNumbers;
using dez::afst::CompoundLookupV2;
using dez::afst::CompoundLookupV3;
using Strings = std::vector<std::string>;
using json = nlohmann::json;

std::shared_ptr<AFst> compounds() {
    static const auto afst = std::make_shared<AFst>(afst_test::load_lexicon("compounds.txt"));
    return afst;
}

std::string repeat(const std::string& text, int count) {
    std::string result;
    for (int i = 0; i < count; ++i)
        result += text;
    return result;
}

TEST(CompoundLookup, TypeCodes) {
    const auto lower = dez::afst::get_lowercase_converter();
    EXPECT_EQ(CompoundLookupV2(compounds(), lower).type(), 3);
    EXPECT_EQ(CompoundLookupV3(compounds(), lower, json()).type(), 4);
    EXPECT_EQ(CompoundLookupNumbers(compounds(), lower, json()).type(), 5);
    EXPECT_EQ(dez::afst::lookup_mode_names()[3], "compound_v2");
}

// The readings of the three lookups, with the lower-casing converter.
TEST(CompoundLookup, Readings) {
    struct Case {
        std::string word;
        Strings v2, v3, numbers;
    };
    const Strings arbeitsamt = {"#$Arbeitsamt#arbeit+N#amt+N"};
    const Strings staubecken = {"#$Staubecke#staub+N#ecke+N+Pl", "#$Staubecken#stau+N#becken+N"};
    const Strings zweiundzwanzig = {"#$Zweiundzwanzig#zwei+Num-Std#und+Conj-Coord#zwanzig+Num-Std"};
    const Strings genitive = {"#$Arbeittageszeit#arbeit+N#tages+N+gen#zeit+N"};
    const Case cases[] = {
        {"Arbeitsamt", arbeitsamt, arbeitsamt, arbeitsamt},
        {"Arbeit-amt",
         {"#$Arbeit-amt#arbeit+N#amt+N"},
         {"#$Arbeit-amt#arbeit+N#amt+N"},
         {"#$Arbeit-amt#arbeit+N#amt+N"}},
        // a lexicon word is no compound
        {"Arbeit", {}, {}, {}},
        {"Torhaus", {}, {}, {}},
        {"Torhausamt",
         {"#$Torhausamt#torhaus+N#amt+N"},
         {"#$Torhausamt#torhaus+N#amt+N"},
         {"#$Torhausamt#torhaus+N#amt+N"}},
        {"Staubecken", staubecken, staubecken, staubecken},
        // V2 compares the literals with the converted word, which "amtstaub"
        // spells; the others compare them with the word as given
        {"Amtstaubecken",
         {"#$Amtstaubecke#amt+N#staub+N#ecke+N+Pl"},
         {"#$Amtstaubecke#amt+N#staub+N#ecke+N+Pl", "#$Amtstaubecken#amt+N#stau+N#becken+N"},
         {"#$Amtstaubecke#amt+N#staub+N#ecke+N+Pl", "#$Amtstaubecken#amt+N#stau+N#becken+N"}},
        {"Urwald", {"#$Urwald#wald+N"}, {"#$Urwald#wald+N"}, {"#$Urwald#wald+N"}},
        {"Amturwald",
         {"#$Amturwald#amt+N#wald+N"},
         {"#$Amturwald#amt+N#wald+N"},
         {"#$Amturwald#amt+N#wald+N"}},
        {"Amtamturwald", {}, {}, {}},
        // a last component without a lemma: the v2 form
        {"Arbeitheit", {"#arbeit+N"}, {"#arbeit+N"}, {"#arbeit+N"}},
        {"Hauschen", {"#haus+N#+Dim"}, {"#haus+N#+Dim"}, {"#haus+N#+Dim"}},
        {"AmtUSA",
         {"#$AmtuSA#amt+N#USA+Prop"},
         {"#$AmtuSA#amt+N#USA+Prop"},
         {"#$AmtuSA#amt+N#USA+Prop"}},
        {"c#amt", {"#c#+Prog#amt+N"}, {"#c#+Prog#amt+N"}, {"#c#+Prog#amt+N"}},
        {"Tageszeit", {}, {}, {}},
        {"Dashaus", {}, {}, {}},
        // only V3 drops a genitive before the last component
        {"Arbeittageszeit", genitive, {}, genitive},
        {"Hausdashaus",
         {"#$Hausdashaus#haus+N#das+Det+def#haus+N"},
         {},
         {"#$Hausdashaus#haus+N#das+Det+def#haus+N"}},
        {"Zweiundzwanzig", zweiundzwanzig, zweiundzwanzig, zweiundzwanzig},
        {"Amtzwanzig", {}, {}, {}},
        {"Zwanzigamt",
         {"#$Zwanzigamt#zwanzig+Num-Std#amt+N"},
         {"#$Zwanzigamt#zwanzig+Num-Std#amt+N"},
         {"#$Zwanzigamt#zwanzig+Num-Std#amt+N"}},
        {"Amtx", {}, {}, {}},
        {"", {}, {}, {}},
    };
    const auto lower = dez::afst::get_lowercase_converter();
    CompoundLookupV2 v2(compounds(), lower);
    CompoundLookupV3 v3(compounds(), lower, json());
    CompoundLookupNumbers numbers(compounds(), lower, json());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.word);
        EXPECT_EQ(v2.up(c.word), c.v2);
        EXPECT_EQ(v3.up(c.word), c.v3);
        EXPECT_EQ(numbers.up(c.word), c.numbers);
    }
}

TEST(CompoundLookup, WithoutConverter) {
    CompoundLookupV2 v2(compounds(), nullptr);
    EXPECT_EQ(v2.up("arbeitsamt"), (Strings{"#$arbeitsamt#arbeit+N#amt+N"}));
    EXPECT_TRUE(v2.up("Arbeitsamt").empty());
    // from the transducer itself
    CompoundLookupV3 v3(afst_test::load_lexicon("compounds.txt"), nullptr, json());
    EXPECT_EQ(v3.up("arbeitsamt"), (Strings{"#$arbeitsamt#arbeit+N#amt+N"}));
}

TEST(CompoundLookup, ComponentLimit) {
    const auto lower = dez::afst::get_lowercase_converter();
    CompoundLookupV2 v2(compounds(), lower);
    const std::string thirteen = "Amt" + repeat("amt", 12);
    EXPECT_EQ(v2.up(thirteen), (Strings{"#$" + thirteen + repeat("#amt+N", 13)}));
    EXPECT_TRUE(v2.up(thirteen + "amt").empty());

    CompoundLookupV3 none(compounds(), lower, json{{"max_components", 0}});
    EXPECT_TRUE(none.up("Arbeitsamt").empty());
    CompoundLookupV3 one(compounds(), lower, json{{"max_components", 1}});
    EXPECT_EQ(one.up("Arbeitsamt"), (Strings{"#$Arbeitsamt#arbeit+N#amt+N"}));
    EXPECT_TRUE(one.up("Amtamtamt").empty());
    CompoundLookupNumbers numbers(compounds(), lower, json{{"max_components", 0}});
    EXPECT_TRUE(numbers.up("Zweiundzwanzig").empty());
}

TEST(CompoundLookup, Configuration) {
    struct Case {
        json configuration;
        int32_t limit;
    };
    const Case cases[] = {
        {json(), 12},
        {json::object(), 12},
        {json{{"other", 3}}, 12},
        {json::array({1, 2}), 12},
        {json("max_components"), 12},
        {json{{"max_components", 7}}, 7},
        {json{{"max_components", 7.9}}, 7},
        {json{{"max_components", -2}}, -2},
        {json{{"max_components", true}}, 1},
        {json{{"max_components", false}}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.configuration.dump());
        CompoundLookupV3 lookup(compounds(), nullptr, c.configuration);
        EXPECT_EQ(lookup.max_components(), c.limit);
        CompoundLookupNumbers numbers(compounds(), nullptr, c.configuration);
        EXPECT_EQ(numbers.lookup().max_components(), c.limit);
    }

    CompoundLookupV3 lookup(compounds(), nullptr, json());
    lookup.set_configuration_parameters(json{{"max_components", 3}});
    EXPECT_EQ(lookup.max_components(), 3);
    lookup.set_configuration_parameters(json());
    EXPECT_EQ(lookup.max_components(), 3);
}

TEST(CompoundLookup, ConfigurationTypeError) {
    struct Case {
        json value;
        std::string type;
    };
    const Case cases[] = {
        {json("7"), "string"},
        {json::array({7}), "array"},
        {json::object(), "object"},
        {json(nullptr), "null"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        const json configuration = {{"max_components", c.value}};
        try {
            CompoundLookupV3 lookup(compounds(), nullptr, configuration);
            ADD_FAILURE() << "no error";
        } catch (const json::type_error& error) {
            EXPECT_NE(std::string(error.what()).find("type must be number, but is " + c.type),
                      std::string::npos)
                << error.what();
        }
        EXPECT_THROW(CompoundLookupNumbers(compounds(), nullptr, configuration), json::type_error);
    }
}

TEST(CompoundLookup, Candidates) {
    CompoundLookupV3 v3(compounds(), dez::afst::get_lowercase_converter(), json());
    const auto memento = v3.get_candidates("Torhausamt");
    ASSERT_EQ(memento.results.size(), 2u);
    EXPECT_EQ(memento.results[0].size(), 2u);
    EXPECT_EQ(memento.results[1].size(), 3u);
    EXPECT_TRUE(memento.parts.empty());
    EXPECT_TRUE(v3.get_candidates("Xyz").results.empty());
}

// A converter that changes byte lengths: the cut into the word as given
// falls after the same characters as in the converted word.
TEST(CompoundLookup, ConverterChangesLength) {
    const auto lower = dez::afst::get_lowercase_converter();
    // U+1E9E (three bytes) lower-cases to U+00DF (two)
    const std::string word = "GRO\xe1\xba\x9e"
                             "AMT";
    const Strings expected = {"#$GRO\xe1\xba\x9e"
                              "amt#gro\xc3\x9f+Adj#amt+N"};
    EXPECT_EQ(CompoundLookupV2(compounds(), lower).up(word), expected);
    EXPECT_EQ(CompoundLookupV3(compounds(), lower, json()).up(word), expected);
    EXPECT_EQ(CompoundLookupNumbers(compounds(), lower, json()).up(word), expected);

    // a converter that makes the word longer than the one given
    struct Expand : dez::afst::ILookupConverter {
        std::string operator()(const std::string&) const override { return "arbeitsamt"; }
    };
    CompoundLookupV2 expand(compounds(), std::make_shared<Expand>());
    const Strings readings = expand.up("\xc3\x84");
    EXPECT_EQ(readings, (Strings{"#$\xc3\x84"
                                 "amt#arbeit+N#amt+N"}));
}

TEST(CompoundLookup, MalformedUtf8) {
    CompoundLookupV2 v2(compounds(), nullptr);
    EXPECT_ANY_THROW(v2.up("amt\xff"));
}

TEST(CompoundLookup, BoundedOnLongWords) {
    // many short entries and a long word: the search stops within its budget
    const auto afst = std::make_shared<AFst>(
        afst_test::build_lexicon({"a:a[+X]", "aa:aa[+X]", "aaa:aaa[+X]", "aaaa:aaaa[+X]"}));
    CompoundLookupV3 lookup(afst, nullptr, json{{"max_components", 1000}});
    const Strings readings = lookup.up(std::string(80, 'a'));
    ASSERT_FALSE(readings.empty());
    for (const auto& reading : readings)
        EXPECT_EQ(reading.rfind("#$", 0), 0u) << reading;
}

} // namespace

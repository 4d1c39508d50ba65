#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/lookup_condition_types.h"
#include "analysis/reading_labels.h"
#include "document/token.h"
#include "document/token_flags.h"
#include "tests/analysis/lookup_fixture.h"

namespace dez::trelix {
namespace {

using Strings = std::vector<std::string>;

using fixture::properties_of;
using fixture::readings_of;

struct Imported {
    Strings readings;
    Strings properties;
    bool compound;
    std::string error;
};

Imported import(const std::string& label, const std::string& literal = "sunflowers") {
    Token token(0, static_cast<uint32_t>(literal.size()), literal);
    testing::internal::CaptureStderr();
    import_result_in_token_obj(&token, label, 0.5);
    return {readings_of(token), properties_of(token),
            (token.token_flags & token_flags::compound) != 0,
            testing::internal::GetCapturedStderr()};
}

TEST(ReadingLabels, PlainLabels) {
    struct Case {
        std::string label;
        Strings readings;
    };
    const Case cases[] = {
        {"cat+Nn", {"cat/Nn@0.50"}}, {"cats+Nn+Pl", {"cats/Nn[Pl]@0.50"}}, {"a++b", {"a/[b]@0.50"}},
        {"a+Nn+", {"a/Nn[]@0.50"}},  {"\\#x+Nn", {"#x/Nn@0.50"}},          {"+Nn", {"/Nn@0.50"}},
    };
    for (const Case& c : cases) {
        const Imported got = import(c.label);
        EXPECT_EQ(got.readings, c.readings) << c.label;
        EXPECT_TRUE(got.properties.empty()) << c.label;
        EXPECT_FALSE(got.compound) << c.label;
        EXPECT_EQ(got.error, "") << c.label;
    }
    for (const std::string label : {"cat", "", "\\"}) {
        const Imported got = import(label);
        EXPECT_TRUE(got.readings.empty()) << label;
        EXPECT_EQ(got.error, "Internal Error: Invalid dictionary entry.[" + label +
                                 "], missing + in output label to separate the POS and the "
                                 "stem.\n");
    }
}

TEST(ReadingLabels, CompoundLabels) {
    struct Case {
        std::string label;
        Strings readings;
        Strings properties;
        bool compound;
    };
    const std::string sunflower = "{sun/Nn@1.00;flower/Nn@1.00;}@1.00";
    const Case cases[] = {
        {"#+p1+p2#sun+Nn#flower+Nn", {"sunflower/Nn[compound]" + sunflower}, {"p1", "p2"}, true},
        {"#$sun-flower#sun+Nn#flower+Nn", {"sun-flower/Nn[compound]" + sunflower}, {}, true},
        {"#sun+Nn#flower+Nn+Pl",
         {"sunflower/Nn[compound]{sun/Nn@1.00;flower/Nn[Pl]@1.00;}@1.00"},
         {},
         true},
        {"#go+V#it+Clit", {"go/V[clitic]{go/V@1.00;it/Clit@1.00;}@1.00"}, {}, true},
        {"#+p#$x#a+Nn", {"x/Nn[compound]{a/Nn@1.00;}@1.00"}, {"p"}, true},
        // Invalid: the literal as a noun, no tags, no components, and the
        // flag goes with the compound that could not be read.
        {"#", {"sunflowers/Nn-Std@1.00"}, {"invalid"}, false},
        {"#$x+Nn#a+Nn", {"sunflowers/Nn-Std@1.00"}, {"invalid"}, false},
        {"#it+Clit", {"sunflowers/Nn-Std@1.00"}, {"invalid"}, false},
        {"#+compound+q#", {"sunflowers/Nn-Std@1.00"}, {"invalid", "q"}, false},
    };
    for (const Case& c : cases) {
        const Imported got = import(c.label);
        EXPECT_EQ(got.readings, c.readings) << c.label;
        EXPECT_EQ(got.properties, c.properties) << c.label;
        EXPECT_EQ(got.compound, c.compound) << c.label;
        EXPECT_EQ(got.error, "") << c.label;
    }
}

TEST(ReadingLabels, ComponentWithoutPartOfSpeech) {
    const Imported got = import("#sun#flower+Nn");
    EXPECT_EQ(got.readings, Strings{"flower/Nn[compound]{sun/none@1.00;flower/Nn@1.00;}@1.00"});
    EXPECT_EQ(got.properties, Strings{"missing_pos"});
    EXPECT_EQ(got.error, "Error in dictionary fst:[#sun#flower+Nn], literal:[sunflowers]. Missing "
                         "Pos for component:sun\n");
    // A last component without fields names nothing: the compound keeps an
    // empty stem and part of speech.
    const Imported empty = import("#a+Nn##");
    EXPECT_EQ(empty.readings,
              Strings{"/[compound]{a/Nn@1.00;no_stem/none@1.00;no_stem/none@1.00;}@1.00"});
    EXPECT_EQ(empty.properties, Strings{"missing_pos"});
}

TEST(ReadingLabels, AnInvalidCompoundKeepsAnEarlierCompound) {
    Token token(0, 10, "sunflowers");
    import_result_in_token_obj(&token, "#sun+Nn#flower+Nn", 1.0);
    import_result_in_token_obj(&token, "#", 1.0);
    EXPECT_TRUE(token.token_flags & token_flags::compound);
    EXPECT_EQ(token.readings.size(), 2u);
}

TEST(ReadingLabels, AssignAppendAndMerge) {
    Token token(0, 4, "cats");
    token.readings.emplace_back("Old", "old", 1.0);
    assign_afst_results_token_obj(&token, {});
    EXPECT_EQ(readings_of(token), Strings{"old/Old@1.00"});
    assign_afst_results_token_obj(&token, {"cat+Nn", "cats+Nn+Pl"});
    EXPECT_EQ(readings_of(token), (Strings{"cat/Nn@0.50", "cats/Nn[Pl]@0.50"}));
    append_afst_results_token_obj(&token, {"cat+V+tag"});
    EXPECT_EQ(readings_of(token), (Strings{"cat/Nn@0.50", "cats/Nn[Pl]@0.50", "cat/V[tag]@1.00"}));
    EXPECT_TRUE(token.token_flags & token_flags::tagged);

    // With a condition: overwrite clears readings and properties, the shape
    // properties come back; merge keeps both.
    PropertyLookup overwrite("x");
    Token caps(0, 4, "CATS");
    caps.properties = {"x"};
    caps.readings.emplace_back("Old", "old", 1.0);
    append_afst_results_token_obj(&caps, {}, &overwrite);
    EXPECT_EQ(readings_of(caps), Strings{"old/Old@1.00"});
    append_afst_results_token_obj(&caps, {"cat+Nn"}, &overwrite);
    EXPECT_EQ(readings_of(caps), Strings{"cat/Nn@1.00"});
    EXPECT_EQ(properties_of(caps), (Strings{"all-cap", "nf"}));
    PropertyLookup merge("x");
    merge.set_action("merge");
    append_afst_results_token_obj(&caps, {"cats+Nn"}, &merge);
    EXPECT_EQ(readings_of(caps), (Strings{"cat/Nn@1.00", "cats/Nn@1.00"}));
}

TEST(ReadingLabels, MergeLookupResults) {
    struct Case {
        Strings into;
        Strings from;
        Strings merged;
    };
    const Case cases[] = {
        {{}, {"a", "a", "b"}, {"a", "a", "b"}},
        {{"a"}, {"b", "a", "b", "c"}, {"a", "b", "c"}},
        {{"a"}, {}, {"a"}},
    };
    for (const Case& c : cases) {
        Strings into = c.into;
        merge_lookup_results(into, c.from);
        EXPECT_EQ(into, c.merged);
    }
}

} // namespace
} // namespace dez::trelix

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>

#include "document/concept.h"
#include "document/end_annotation.h"
#include "document/end_of_stream.h"
#include "document/literal_filter.h"
#include "document/regex_filter.h"
#include "document/sentence.h"
#include "document/string_filter.h"
#include "document/token.h"

namespace dez::trelix {
namespace {

TEST(RegexFilter, WholeTextMatches) {
    struct Case {
        const char* expression;
        const char* text;
        bool selected;
    };
    const Case cases[] = {
        {"Nn", "DetNn", false}, {"Det.*", "DetNn", true}, {"Nn", "Nn", true}, {"/Nn/", "Nn", true},
        {"[A-C]x", "Bx", true}, {"[A-C]x", "Dx", false},  {"", "", true},     {"", "a", false},
    };
    for (const Case& c : cases) {
        RegexFilter filter(c.expression);
        EXPECT_EQ(filter(std::string(c.text)), c.selected) << c.expression << " on " << c.text;
    }
}

TEST(RegexFilter, KeepsTheExpressionWithoutSlashes) {
    EXPECT_EQ(RegexFilter("/Pers.*/").expression, "Pers.*");
    EXPECT_EQ(RegexFilter("//").expression, "");
    EXPECT_EQ(RegexFilter("/a").expression, "/a");
}

TEST(RegexFilter, BadExpressionFailsConstruction) {
    EXPECT_THROW(RegexFilter("a]"), std::runtime_error);
    EXPECT_THROW(RegexFilter("(a"), std::runtime_error);
}

TEST(RegexFilter, CheckIgnoresDeletedOperatorDoesNot) {
    RegexFilter filter("Pers.*");
    Concept live(0, 1, "Person"), gone(0, 1, "Person"), other(0, 1, "City");
    gone.flags.set(Concept::deleted);
    EXPECT_TRUE(filter.check(&live));
    EXPECT_TRUE(filter(static_cast<const Annotation*>(&live)));
    EXPECT_TRUE(filter.check(&gone));
    EXPECT_FALSE(filter(static_cast<const Annotation*>(&gone)));
    EXPECT_FALSE(filter.check(&other));

    Token token(0, 1, "Person");
    Sentence sentence(0, 1);
    EndAnnotation marker(1);
    EndOfStream eos(1);
    for (const Annotation* a :
         {static_cast<const Annotation*>(&token), static_cast<const Annotation*>(&sentence),
          static_cast<const Annotation*>(&marker), static_cast<const Annotation*>(&eos)}) {
        EXPECT_FALSE(filter.check(a));
        EXPECT_FALSE(filter(a));
    }
}

TEST(RegexFilter, UsableThroughTheBase) {
    std::shared_ptr<BaseFilter> filter = std::make_shared<RegexFilter>("A|B");
    EXPECT_TRUE((*filter)(std::string("B")));
    EXPECT_FALSE((*filter)(std::string("AB")));
}

TEST(LiteralFilter, ByteEquality) {
    LiteralFilter filter("Nn");
    EXPECT_TRUE(filter("Nn"));
    EXPECT_FALSE(filter("nn"));
    EXPECT_FALSE(filter("Nn "));
    EXPECT_FALSE(filter(std::string("Nn\0", 3)));
}

TEST(StringFilter, ChoiceByFilterText) {
    struct Case {
        const char* filter_text;
        const char* text;
        bool selected;
    };
    const Case cases[] = {
        {"/", "/", true},                                 // one slash: literal
        {"//x", "//x", true},                             // does not end with a slash: literal
        {"//x", "x", false},       {"//", "", true},      // empty expression
        {"//", "//", false},       {"/N.*/", "Nn", true}, // expression
        {"/N.*/", "/N.*/", false}, {"N.*", "N.*", true},  // no slashes: literal
        {"N.*", "Nn", false},
    };
    for (const Case& c : cases) {
        auto predicate = create_string_filter(c.filter_text);
        EXPECT_EQ(predicate(c.text), c.selected) << c.filter_text << " on " << c.text;
    }
    EXPECT_THROW(create_string_filter("/a]/"), std::runtime_error);
}

} // namespace
} // namespace dez::trelix

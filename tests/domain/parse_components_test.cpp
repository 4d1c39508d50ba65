#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "domain/parse_components.h"
#include "domain/pipeline_error.h"

namespace dez::pipeline {
namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

Pairs parse(const std::string& text) {
    Pairs out;
    for (const Component& c : parse_components(text))
        out.emplace_back(c.original, c.options);
    return out;
}

TEST(ParseComponents, SplitsNamesAndOptionGroups) {
    struct Case {
        const char* text;
        Pairs expected;
    };
    const std::vector<Case> cases = {
        {"", {}},
        {"a", {{"a", "{}"}}},
        {"a,", {{"a", "{}"}}},
        {",", {{"", "{}"}}},
        {",a", {{"", "{}"}, {"a", "{}"}}},
        {"a,,b", {{"a", "{}"}, {"", "{}"}, {"b", "{}"}}},
        {"a(x)b", {{"ab", "x"}}},
        {"a(x)b(y)", {{"a(x)b", "y"}}},
        {"a(f(x),g),b", {{"a", "f(x),g"}, {"b", "{}"}}},
        {"a()", {{"a", "{}"}}},
        {"(x)", {}},
        {"(x),a", {{"", "x"}, {"a", "{}"}}},
        {"a , b", {{"a ", "{}"}, {" b", "{}"}}},
        {R"(english,entity({"annotation_filter":"Person"}))",
         {{"english", "{}"}, {"entity", R"({"annotation_filter":"Person"})"}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parse(c.text), c.expected) << c.text;
}

TEST(ParseComponents, UnbalancedParenthesesAreErrorsNotHiddenComponents) {
    struct Case {
        const char* text;
        const char* message;
        const char* original;
    };
    for (const Case& c : {Case{"a)b,c", "Unbalanced ')' in pipeline.", "a"},
                          Case{"a(x),b)", "Unbalanced ')' in pipeline.", "b"},
                          Case{"a(x", "Unclosed '(' in pipeline.", "a"},
                          Case{"a,b(f(x)", "Unclosed '(' in pipeline.", "b"}}) {
        try {
            parse_components(c.text);
            ADD_FAILURE() << "no error for " << c.text;
        } catch (const pipeline_error& e) {
            EXPECT_STREQ(e.what(), c.message) << c.text;
            EXPECT_EQ(e.component.original, c.original) << c.text;
        }
    }
}

} // namespace
} // namespace dez::pipeline

#include "core-afst/icu_lookup.h"

#include <gtest/gtest.h>

#include <utf8.h>

#include <string>
#include <vector>

namespace {

using dez::afst::ICULookup;
using Strings = std::vector<std::string>;

TEST(ICULookup, ReadingsFromCharacterCategories) {
    struct Case {
        std::string word;
        Strings expected;
    };
    const Case cases[] = {
        {"Hello", {"Hello+Prop-Std"}},
        {"\xc3\x84pfel", {"\xc3\x84pfel+Prop-Std"}},
        {"HELLO", {}},
        {"hello", {}},
        {"H", {}},
        {"", {}},
        // the space clears the flag, the next lower-case letter sets it again
        {"New york", {"New york+Prop-Std"}},
        {"New Y", {}},
        // digits anywhere make a number
        {"abc1", {"abc1+Num-Std"}},
        {"2024", {"2024+Num-Std"}},
        {"A4", {"A4+Num-Std"}},
        // the first punctuation decides
        {"e.g", {"e.g+Punct"}},
        {"-", {"-+Punct"}},
        {"well-known", {"well-known+Punct"}},
        {"snake_case", {"snake_case+Punct"}},
        {"#tag", {"\\#tag+Punct"}},
        {"a#", {"a#+Punct"}},
        {"(", {"(+Punct-Open"}},
        {"\xe2\x80\x9c", {"\xe2\x80\x9c+Punct-Open"}},
        {")", {")+Punct-Close"}},
        {"\xe2\x80\x9d", {"\xe2\x80\x9d+Punct-Close"}},
        {"$", {"$+Nn-Sym+currency"}},
        {"\xe2\x82\xac"
         "5",
         {"\xe2\x82\xac"
          "5+Nn-Sym+currency"}},
        {"5$", {"5$+Nn-Sym+currency"}},
        // a title-case or modifier letter after the first clears the flag
        {"A\xc7\x85", {}},
        {"Ab\xca\xb0", {}},
        {"Ab\xca\xb0"
         "c",
         {"Ab\xca\xb0"
          "c+Prop-Std"}},
        {"+", {}},
    };
    ICULookup lookup(nullptr);
    for (const auto& c : cases)
        EXPECT_EQ(lookup.up(c.word), c.expected) << c.word;
}

TEST(ICULookup, ConverterIgnoredTypeAndPrint) {
    ICULookup lookup(dez::afst::get_lowercase_converter());
    EXPECT_EQ(lookup.up("Hello"), (Strings{"Hello+Prop-Std"}));
    EXPECT_EQ(lookup.type(), 10);
    testing::internal::CaptureStdout();
    lookup.print_results("(");
    lookup.print_results("hello");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "  -g- (+Punct-Open\n");
    EXPECT_THROW(lookup.up("A\xff"), utf8::exception);
}

} // namespace

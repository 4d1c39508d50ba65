#include "core-afst/endings_lookup.h"

#include "core-afst/afst.h"
#include "lexicon_fixture.h"

#include <gtest/gtest.h>

#include <utf8.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

using dez::afst::AFst;
using dez::afst::EndingsLookup;
using Strings = std::vector<std::string>;

std::shared_ptr<AFst> endings() {
    static const auto afst = std::make_shared<AFst>(afst_test::load_lexicon("endings.txt"));
    return afst;
}

Strings sorted(Strings strings) {
    std::sort(strings.begin(), strings.end());
    return strings;
}

TEST(EndingsLookup, Readings) {
    struct Case {
        std::string word;
        Strings expected;
    };
    const Case cases[] = {
        {"Bauernhaus", {"#$Bauernhaus#Bauern+Prop#haus+Nn-Sg+reverse"}},
        // an analysis that begins with "+": no lemma before the "#"
        {"Feuerwehrmann", {"#$Feuerwehr#Feuerwehr+Prop#+Nn-Agent+reverse"}},
        // every ending found, as long as 3 code points stay before it
        {"Abcdestung",
         {"#$Abcdestung#Abc+Prop#destung+Nn-Deriv+reverse",
          "#$Abcdestung#Abcdest+Prop#ung+Nn-Abstr+reverse"}},
        {"Abdestung", {"#$Abdestung#Abdest+Prop#ung+Nn-Abstr+reverse"}},
        // "??" takes any character but the space, reading backwards
        {"Hasenbeiter", {"#$Hasenb#Hasenb+Prop#+Any+reverse"}},
        {"Hasenbei er", {}},
        {"Gr\xc3\xb6\xc3\x9f"
         "enhaus",
         {"#$Gr\xc3\xb6\xc3\x9f"
          "enhaus#Gr\xc3\xb6\xc3\x9f"
          "en+Prop#haus+Nn-Sg+reverse"}},
        // 8 bytes are looked up, 7 are not
        {"Abcdhaus", {"#$Abcdhaus#Abcd+Prop#haus+Nn-Sg+reverse"}},
        {"Abchaus", {}},
        // only A to Z as first byte
        {"bauernhaus", {}},
        {"\xc3\x84rztehaus", {}},
        {"Abcdefgh", {}},
        {"", {}},
    };
    EndingsLookup lookup(endings(), nullptr);
    for (const auto& c : cases)
        EXPECT_EQ(sorted(lookup.up(c.word)), c.expected) << c.word;
}

TEST(EndingsLookup, ConverterIsNotApplied) {
    EndingsLookup lookup(endings(), dez::afst::get_lowercase_converter());
    EXPECT_EQ(lookup.up("BAUERNHAUS"), Strings{});
    EXPECT_EQ(lookup.up("Bauernhaus"), (Strings{"#$Bauernhaus#Bauern+Prop#haus+Nn-Sg+reverse"}));
}

TEST(EndingsLookup, TypePrintAndErrors) {
    EndingsLookup lookup(afst_test::load_lexicon("endings.txt"), nullptr);
    EXPECT_EQ(lookup.type(), 8);
    testing::internal::CaptureStdout();
    lookup.print_results("Bauernhaus");
    lookup.print_results("Abcdefgh");
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "  -c- #$Bauernhaus#Bauern+Prop#haus+Nn-Sg+reverse\n");
    EXPECT_THROW(lookup.up("Bauern\xffhaus"), utf8::exception);
    EXPECT_THROW(EndingsLookup(std::shared_ptr<AFst>(), nullptr), std::invalid_argument);
}

TEST(ConstructStem, JoinsNonEmptyParts) {
    EXPECT_EQ(dez::afst::construct_stem({"a", "", "b+N"}), "#a#b+N");
    EXPECT_EQ(dez::afst::construct_stem({"", ""}), "");
    EXPECT_EQ(dez::afst::construct_stem({}), "");
}

} // namespace

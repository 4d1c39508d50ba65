#include "foundation/attribute_text.h"

#include "foundation/exception.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Attributes = std::vector<std::pair<std::string, std::string>>;

std::string write(const Attributes& list) {
    std::ostringstream os;
    os << list;
    return os.str();
}

TEST(AttributeText, ReadsPairsAndSkipsPiecesWithoutEquals) {
    const Attributes expected = {{"a", "1"}, {"c", "d=e"}, {"", "f"}, {"g", ""}};
    EXPECT_EQ(dez::string2attributes("a=1;b;c=d=e;=f;g="), expected);
}

TEST(AttributeText, ReadsTextAsItStands) {
    struct Case {
        const char* text;
        Attributes list;
    };
    const Case cases[] = {
        {"", {}},
        {";;;", {}},
        {"novalue", {}},
        {"a=1;;b=2;", {{"a", "1"}, {"b", "2"}}},
        {";a=1", {{"a", "1"}}},
        {"k=1;k=2", {{"k", "1"}, {"k", "2"}}},
        {" a = 1 ", {{" a ", " 1 "}}},
        {"=", {{"", ""}}},
        {"rt=2;tlb=[1,2]", {{"rt", "2"}, {"tlb", "[1,2]"}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(dez::string2attributes(c.text), c.list) << c.text;
}

TEST(AttributeText, ReadsBytesOfAGivenLength) {
    const Attributes first = {{"a", "1"}};
    EXPECT_EQ(dez::string2attributes("a=1;b=2", 3), first);
    EXPECT_EQ(dez::string2attributes(std::string("a=\0b", 4)),
              (Attributes{{"a", std::string("\0b", 2)}}));
    EXPECT_EQ(dez::string2attributes(nullptr, 0), Attributes{});
    EXPECT_THROW(dez::string2attributes(nullptr, 3), std::logic_error);
}

TEST(AttributeText, GetAttributeGivesTheFirstValueOrEmpty) {
    const Attributes list = {{"k", "first"}, {"x", "y"}, {"k", "second"}};
    EXPECT_EQ(dez::get_attribute(list, "k"), "first");
    EXPECT_EQ(dez::get_attribute(list, "K"), "");
    EXPECT_EQ(dez::get_attribute(list, ""), "");
    EXPECT_EQ(dez::get_attribute({}, "k"), "");
    // One shared empty string, not a temporary.
    EXPECT_EQ(&dez::get_attribute(list, "missing"), &dez::get_attribute({}, "other"));
}

TEST(AttributeText, Writes) {
    EXPECT_EQ(write({}), "");
    EXPECT_EQ(write({{"rt", "2"}}), "rt=2");
    EXPECT_EQ(write({{"a", "1"}, {"c", "d=e"}, {"", "f"}, {"g", ""}}), "a=1;c=d=e;=f;g=");
    std::ostringstream os;
    os << std::pair<std::string, std::string>("k", "v=w");
    EXPECT_EQ(os.str(), "k=v=w");
}

TEST(AttributeText, WhatIsWrittenReadsBackUnchanged) {
    const Attributes cases[] = {
        {},
        {{"a", "1"}},
        {{"", ""}},
        {{"", "x"}, {"y", ""}},
        {{"k", "a=b=c"}, {"k", "again"}},
        {{"n\xC3\xA4me", "v\xC3\xA4lue with spaces"}},
    };
    for (const auto& list : cases)
        EXPECT_EQ(dez::string2attributes(write(list)), list) << write(list);
}

TEST(AttributeText, RefusesWhatWouldNotReadBack) {
    // No escapes exist: these would come back as other pairs, so writing fails
    // and leaves the stream untouched, even after a good pair.
    const Attributes cases[] = {
        {{"a=b", "1"}},
        {{"a;b", "1"}},
        {{"a", "1;b=2"}},
        {{"good", "1"}, {"bad", "x;y"}},
        {{";", ""}},
    };
    for (const auto& list : cases) {
        std::ostringstream os;
        EXPECT_THROW(os << list, dez::Exception);
        EXPECT_EQ(os.str(), "");
        std::ostringstream single;
        EXPECT_THROW(single << list.back(), dez::Exception);
        EXPECT_EQ(single.str(), "");
    }
}

} // namespace

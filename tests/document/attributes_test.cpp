#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "document/attributes.h"
#include "foundation/exception.h"

namespace dez::trelix {
namespace {

std::string printed(const Attributes& attributes) {
    std::ostringstream os;
    os << attributes;
    return os.str();
}

Attributes sample() {
    Attributes list;
    list.add("b", "1");
    list.add("a", "2");
    list.add("b", "0");
    return list;
}

TEST(Attributes, AddKeepsKeyOrderAndRefusesRepeatedValues) {
    Attributes list;
    EXPECT_TRUE(list.add("b", "1"));
    EXPECT_TRUE(list.add("a", "2"));
    EXPECT_TRUE(list.add("b", "0"));
    EXPECT_FALSE(list.add("b", "1"));
    EXPECT_EQ(printed(list), "a=2;b=1;b=0;");
}

TEST(Attributes, ByteOrderOfKeys) {
    Attributes list;
    for (const char* key : {"ab", "a", "B", "", "\xC3\xA9"})
        list.add(key, "v");
    EXPECT_EQ(printed(list), "=v;B=v;a=v;ab=v;\xC3\xA9=v;");
}

TEST(Attributes, RepeatedTextIsRefusedWhateverTheValueKind) {
    Attributes list;
    list.add("k", "x");
    EXPECT_FALSE(list.add({"k", boost::any(AttributeFormatValue{"x", ""})}));
    EXPECT_TRUE(list.add({"k", boost::any(AttributeFormatValue{"f", "y"})}));
    EXPECT_FALSE(list.add("k", "y"));
    EXPECT_EQ(list.size(), 2u);
}

TEST(Attributes, AddListCountsWhatWasAdded) {
    Attributes list = sample();
    Attributes more;
    more.add("a", "2");
    more.add("c", "3");
    EXPECT_EQ(list.add(more), 1u);
    EXPECT_EQ(list.add(list), 0u);
    EXPECT_EQ(printed(list), "a=2;b=1;b=0;c=3;");
}

TEST(Attributes, Lookups) {
    Attributes list = sample();
    EXPECT_TRUE(list.has_attribute("b"));
    EXPECT_FALSE(list.has_attribute("c"));
    EXPECT_EQ(list.get_attribute("b"), "1");
    EXPECT_EQ(list.get_attribute("c"), "");
    EXPECT_EQ(&list.get_attribute("c"), &list.get_attribute("zz")); // one shared empty text
}

TEST(Attributes, ScanningLookupsServeUnorderedLists) {
    // As the attribute parser appends: not in key order.
    Attributes list{{"z", std::string("1")}, {"a", std::string("2")}, {"z", std::string("3")}};
    EXPECT_TRUE(has(list, "z"));
    EXPECT_EQ(get_value(list, "z"), "1");
    EXPECT_EQ(get_value(list, "a"), "2");
    EXPECT_FALSE(has(list, "q"));
    EXPECT_EQ(get_value(list, "q"), "");
}

TEST(Attributes, Removal) {
    struct Case {
        const char* name;
        const char* key;
        const char* value; // null: remove_attributes
        const char* expected;
    };
    const Case cases[] = {
        {"exact value", "b", "1", "a=2;b=0;"},
        {"expression over the whole text", "b", "/[0-9]/", "a=2;"},
        {"expression must match whole", "b", "/1./", "a=2;b=1;b=0;"},
        {"bracket syntax of rules", "b", "/[0-0]/", "a=2;b=1;"},
        {"other key untouched", "a", "1", "a=2;b=1;b=0;"},
        {"one slash is a literal", "b", "/", "a=2;b=1;b=0;"},
        {"missing key", "q", "1", "a=2;b=1;b=0;"},
        {"all of a key", "b", nullptr, "a=2;"},
    };
    for (const Case& c : cases) {
        Attributes list = sample();
        if (c.value)
            list.remove_attribute(c.key, c.value);
        else
            list.remove_attributes(c.key);
        EXPECT_EQ(printed(list), c.expected) << c.name;
    }
    Attributes list = sample();
    list.remove_key("b");
    EXPECT_EQ(printed(list), "a=2;");
}

TEST(Attributes, BadExpressionRaisesDezException) {
    for (const char* bad : {"/(/", "/a]/", "/[z-a]/"}) {
        Attributes list = sample();
        EXPECT_THROW(list.remove_attribute("b", bad), dez::Exception) << bad;
        EXPECT_EQ(printed(list), "a=2;b=1;b=0;");
    }
}

TEST(Attributes, EraseReturnsTheNextEntry) {
    Attributes list = sample();
    auto next = list.erase(list.begin());
    EXPECT_EQ(next->first, "b");
    EXPECT_EQ(printed(list), "b=1;b=0;");
}

TEST(AttributeValues, TextOfEachKind) {
    struct Case {
        const char* name;
        boost::any value;
        const char* text;
    };
    const Case cases[] = {
        {"string", std::string("abc"), "abc"},
        {"resolved format", AttributeFormatValue{"{x}", "done"}, "done"},
        {"unresolved format", AttributeFormatValue{"{x}", ""}, "{x}"},
        {"invalid format", AttributeFormatInvalidValue{}, ""},
        {"other type", 42, ""},
        {"empty holder", boost::any(), ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(to_string(c.value), c.text) << c.name;
        EXPECT_EQ(raw_string(c.value), c.text) << c.name;
    }
}

} // namespace
} // namespace dez::trelix

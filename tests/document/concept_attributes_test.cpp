#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include <nlohmann/json.hpp>

#include "document/concept.h"
#include "document/concept_attributes.h"

namespace dez::trelix {
namespace {

template <typename T> std::string printed(const T& value) {
    std::ostringstream os;
    os << value;
    return os.str();
}

std::string
json_of(const ConceptAttributes& attributes,
        const std::function<bool(const std::string&)>& filter = ConceptAttributes::CAFT_None) {
    std::ostringstream os;
    to_json(os, attributes, filter);
    return os.str();
}

// own (a,1) and a shared part holding (b,2)
ConceptAttributes own_and_shared() {
    SharedAttributes attributes;
    attributes.add("b", "2");
    attributes.add("a", "1", store_own);
    return attributes;
}

TEST(ConceptAttributes, PlacementByStoreTypeAndKey) {
    ConceptAttributes plain;
    plain.add("gender", "f");
    plain.add("_id", "7");
    EXPECT_EQ(plain.attributes.size(), 2u);
    EXPECT_FALSE(plain.shared);

    SharedAttributes with_shared;
    ASSERT_TRUE(with_shared.shared);
    with_shared.add("_id", "7");
    with_shared.add("gender", "f");
    with_shared.add("kept", "here", store_own);
    EXPECT_EQ(printed(with_shared.attributes), "_id=7;kept=here;");
    EXPECT_EQ(printed(*with_shared.shared), "gender=f;");

    Attributes pairs;
    pairs.add("_p", "1");
    pairs.add("q", "2");
    EXPECT_EQ(with_shared.add(pairs), 2u);
    EXPECT_EQ(printed(*with_shared.shared), "gender=f;q=2;");
    EXPECT_EQ(with_shared.add(with_shared.attributes, store_own), 0u);
}

TEST(ConceptAttributes, LookupsPreferTheOwnPart) {
    SharedAttributes attributes;
    attributes.add("k", "shared");
    attributes.add("k", "own", store_own);
    attributes.add("s", "only shared");
    EXPECT_EQ(attributes.get_attribute("k"), "own");
    EXPECT_EQ(attributes.get_attribute("s"), "only shared");
    EXPECT_EQ(attributes.get_attribute("none"), "");
    EXPECT_TRUE(attributes.has_attribute("s"));
    EXPECT_FALSE(attributes.has_attribute("none"));
}

TEST(ConceptAttributes, PrintingForms) {
    ConceptAttributes attributes = own_and_shared();
    EXPECT_EQ(printed(attributes), "a=1;b=2;");
    EXPECT_EQ(printed(print_verbose(attributes)), "l:a:1;s:b:2;");
    EXPECT_EQ(printed(ConceptAttributes()), "");
}

TEST(Sharing, ConceptsLinkedBySharingSeeLaterAttributes) {
    Concept first(0, 1, "Person"), second(5, 6, "Person");
    first.add("gender", "m");
    first.add("_id", "1");
    second.add("title", "Dr");
    second.attributes.share_from_this(first.attributes, ConceptAttributes::CAFT_None);
    EXPECT_EQ(first.attributes.shared, second.attributes.shared);
    EXPECT_EQ(printed(first.attributes.attributes), "_id=1;");
    EXPECT_EQ(printed(second.attributes.attributes), "title=Dr;");
    EXPECT_EQ(printed(*second.attributes.shared), "gender=m;");

    first.add("age", "40");
    second.add("city", "Rome");
    for (Concept* c : {&first, &second}) {
        EXPECT_TRUE(c->has_attribute("age"));
        EXPECT_TRUE(c->has_attribute("city"));
        EXPECT_TRUE(c->has_attribute("gender"));
    }
    EXPECT_FALSE(second.has_attribute("_id"));

    // Removal from the shared part reaches both.
    first.remove_attribute("city", "Rome");
    EXPECT_FALSE(second.has_attribute("city"));
}

TEST(Sharing, FilterAndOthersSharedPart) {
    SharedAttributes entity;
    entity.add("old", "1");
    ConceptAttributes mention;
    mention.shared = std::make_shared<Attributes>();
    mention.shared->add("from_shared", "s");
    mention.add("keep", "k", store_own);
    mention.add("move", "m", store_own);
    mention.add("_private", "p", store_own);
    auto old_shared = mention.shared;
    entity.share_from_this(mention, [](const std::string& key) { return key != "keep"; });
    EXPECT_EQ(mention.shared, entity.shared);
    EXPECT_EQ(printed(*entity.shared), "from_shared=s;move=m;old=1;");
    EXPECT_EQ(printed(mention.attributes), "_private=p;keep=k;");
    EXPECT_EQ(printed(*old_shared), "from_shared=s;"); // left to its other holders
}

TEST(Sharing, SharingWithAPartAlreadyHeld) {
    SharedAttributes a;
    a.add("x", "1");
    ConceptAttributes b;
    b.shared = a.shared;
    b.add("y", "2", store_own);
    a.share_from_this(b, ConceptAttributes::CAFT_None);
    EXPECT_EQ(printed(*a.shared), "x=1;y=2;");
    EXPECT_TRUE(b.attributes.empty());
}

TEST(Sharing, FromAPlainList) {
    ConceptAttributes attributes;
    Attributes other;
    other.add("a", "1");
    other.add("a", "2");
    other.add("_b", "3");
    attributes.share_from_this(other);
    ASSERT_TRUE(attributes.shared);
    EXPECT_EQ(printed(*attributes.shared), "a=1;a=2;");
    EXPECT_EQ(printed(other), "_b=3;");
}

TEST(Sharing, UniqKeepsTheFirstValueOfAKey) {
    SharedAttributes entity;
    entity.add("name", "Ann");
    ConceptAttributes mention;
    mention.add("name", "Anna");
    mention.add("title", "Dr");
    mention.add("title", "Prof");
    mention.add("_pos", "3");
    entity.share_from_this_uniq(mention);
    EXPECT_EQ(printed(*entity.shared), "name=Ann;title=Dr;");
    EXPECT_EQ(printed(mention.attributes), "_pos=3;");
    EXPECT_EQ(mention.shared, entity.shared);
}

TEST(Json, OneArrayPerKey) {
    struct Case {
        const char* name;
        std::vector<std::pair<const char*, const char*>> own, shared;
        const char* expected;
    };
    const Case cases[] = {
        {"empty", {}, {}, "{}"},
        {"own and shared of one key",
         {{"a", "1"}, {"a", "2"}},
         {{"a", "3"}},
         R"({"a":["1","2","3"]})"},
        // Keys stay unique even when the two parts interleave.
        {"key in both parts",
         {{"a", "1"}, {"b", "2"}},
         {{"a", "3"}},
         R"({"a":["1","3"],"b":["2"]})"},
        {"shared only key comes after", {{"b", "1"}}, {{"a", "2"}}, R"({"b":["1"],"a":["2"]})"},
        {"escapes", {{"q\"", "tab\there"}}, {}, R"({"q\"":["tab\there"]})"},
    };
    for (const Case& c : cases) {
        ConceptAttributes attributes;
        for (auto [k, v] : c.own)
            attributes.attributes.add(k, v);
        if (!c.shared.empty()) {
            attributes.shared = std::make_shared<Attributes>();
            for (auto [k, v] : c.shared)
                attributes.shared->add(k, v);
        }
        const std::string text = json_of(attributes);
        EXPECT_EQ(text, c.expected) << c.name;
        // A strict reader gives back the same text: no key lost or repeated.
        EXPECT_EQ(nlohmann::ordered_json::parse(text).dump(), text) << c.name;
    }
}

TEST(Json, FilterSkipsKeys) {
    ConceptAttributes attributes = own_and_shared();
    attributes.add("_hidden", "x");
    EXPECT_EQ(json_of(attributes, [](const std::string& k) { return k[0] != '_' && k != "b"; }),
              R"({"a":["1"]})");
    EXPECT_EQ(json_of(attributes, [](const std::string&) { return false; }), "{}");
}

TEST(Json, StrictReaderKeepsEveryValue) {
    ConceptAttributes attributes;
    attributes.add("a", "1");
    attributes.add("b", "2");
    attributes.shared = std::make_shared<Attributes>();
    attributes.shared->add("a", "3");
    const auto parsed = nlohmann::json::parse(json_of(attributes));
    EXPECT_EQ(parsed["a"], nlohmann::json({"1", "3"}));
    EXPECT_EQ(parsed["b"], nlohmann::json({"2"}));
}

TEST(ConceptMatch, ExactAndExpressionConditions) {
    Concept upper(0, 1, "City"), lower(0, 1, "City"), none(0, 1, "City");
    upper.add("name", "Paris");
    lower.add("name", "paris");
    struct Case {
        const char* condition;
        bool upper, lower;
    };
    const Case cases[] = {
        {"\"Paris", true, false}, {"/[Pp]aris", true, true}, {"/Par", false, false},
        {"/P.*", true, false},    {"\"", false, false},      {"/", false, false},
    };
    for (const Case& c : cases) {
        const std::pair<std::string, boost::any> condition("name", std::string(c.condition));
        EXPECT_EQ(upper.match(condition), c.upper) << c.condition;
        EXPECT_EQ(lower.match(condition), c.lower) << c.condition;
        EXPECT_FALSE(none.match(condition)) << c.condition;
    }
}

TEST(ConceptMatch, LooksAtEveryValueOwnThenShared) {
    Concept c(0, 1, "Person");
    c.attributes.shared = std::make_shared<Attributes>();
    c.add("name", "Ann", store_own);
    c.add("name", "Bob");
    EXPECT_TRUE(c.match({"name", std::string("\"Bob")}));
    EXPECT_TRUE(c.match({"name", std::string("/A.*")}));
    EXPECT_FALSE(c.match({"other", std::string("\"Bob")}));
}

TEST(ConceptMatch, BadExpressionIsReportedAndFalse) {
    Concept c(0, 1, "City");
    c.add("name", "(");
    testing::internal::CaptureStdout();
    EXPECT_FALSE(c.match({"name", std::string("/(")}));
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out.rfind("/(/ is not a valid regular expression: \"", 0), 0u) << out;
    EXPECT_EQ(out.substr(out.size() - 2), "\"\n");
}

TEST(ConceptForwarders, OwnOnlyRemovalAndClearing) {
    Concept c(0, 1, "X");
    c.attributes.shared = std::make_shared<Attributes>();
    c.add("k", "shared");
    c.add("k", "own", store_own);
    c.add("j", "own", store_own);
    c.remove_attributes("k");
    EXPECT_EQ(c.get_attribute("k"), "shared");
    c.clear_attributes();
    EXPECT_TRUE(c.attributes.attributes.empty());
    EXPECT_EQ(c.get_attribute("k"), "shared");
    c.remove_attribute("k", "/sh.*/");
    EXPECT_FALSE(c.has_attribute("k"));
}

} // namespace
} // namespace dez::trelix

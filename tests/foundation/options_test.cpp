#include "foundation/options.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <iomanip>
#include <sstream>

namespace {

using dez::Options;

std::string captured_stdout(const std::function<void()>& fn) {
    testing::internal::CaptureStdout();
    fn();
    return testing::internal::GetCapturedStdout();
}

TEST(OptionsConvert, EmptyOrNullTextGivesEmptyBagSilently) {
    for (const char* text : {static_cast<const char*>(nullptr), ""}) {
        std::shared_ptr<dez::IOptions> bag;
        EXPECT_EQ(captured_stdout([&] { bag = dez::convert_string_to_api_options(text); }), "");
        EXPECT_EQ(bag->str(), "null");
        EXPECT_FALSE(bag->has("language"));
        EXPECT_EQ(bag->get("language", "en"), "en");
    }
}

TEST(OptionsConvert, MalformedTextIsReportedAndGivesEmptyBag) {
    const char* cases[] = {R"({"a":"1"} trailing)", "{not json", R"({"a":"1"} // c)"};
    for (const char* text : cases) {
        std::shared_ptr<dez::IOptions> bag;
        EXPECT_EQ(captured_stdout([&] { bag = dez::convert_string_to_api_options(text); }),
                  std::string("Invalid json stream:") + text + "\n");
        EXPECT_EQ(bag->str(), "null");
        EXPECT_FALSE(bag->has("a"));
    }
    // The stream constructor stops after the first value instead.
    Options lenient(R"({"a":"1"} trailing)");
    EXPECT_EQ(lenient.get("a"), "1");
}

TEST(OptionsConvert, ArrayBagAnswersDefaultsAndRefusesAdd) {
    auto bag = dez::convert_string_to_api_options(std::string("[\"a\",1]"));
    EXPECT_EQ(bag->get("a", "d"), "d");
    EXPECT_FALSE(bag->has("a"));
    EXPECT_THROW(bag->add("k", "v"), nlohmann::json::type_error);
    EXPECT_EQ(bag->str(), "[\"a\",1]");
}

TEST(Options, NonStringMemberFailsOnGetButIsVisibleOtherwise) {
    Options bag(R"({"n": 3, "s": "x", "o": {"a": "b"}})");
    EXPECT_TRUE(bag.has("n"));
    try {
        bag.get("n");
        FAIL() << "expected a type error";
    } catch (const nlohmann::json::type_error& e) {
        EXPECT_EQ(e.id, 302);
        EXPECT_NE(std::string(e.what()).find("type must be string, but is number"),
                  std::string::npos);
    }
    ASSERT_NE(bag.get_json("n"), nullptr);
    EXPECT_EQ(*bag.get_json("n"), 3);
    EXPECT_EQ(bag.get_json("missing"), nullptr);

    std::vector<std::pair<std::string, std::string>> seen;
    dez::foreach_option(bag, [&](std::string k, std::string v) { seen.emplace_back(k, v); });
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], std::make_pair(std::string("s"), std::string("x")));
}

TEST(Options, GetAndAccessorsAnswerPresentEmptyAndMissing) {
    Options bag(R"({"present": "v", "empty": ""})");
    EXPECT_EQ(bag.get("present"), "v");
    EXPECT_EQ(bag.get("empty", "d"), "");
    EXPECT_EQ(bag.get("missing", "d"), "d");
    EXPECT_EQ(bag["present"], "v");
    EXPECT_EQ(bag[std::string("present")], "v");
    EXPECT_EQ(bag.at("missing"), "");
}

TEST(Options, GetBoolSpellings) {
    struct Case {
        const char* value;
        bool default_value;
        bool expected;
    };
    const Case cases[] = {
        {"true", false, true}, {"on", false, true},   {"yes", false, true},
        {"1", false, true},    {"True", false, true}, {"TRUE", true, false},
        {"false", true, false}, {"no", true, false},  {"", true, true},
        {"", false, false},
    };
    for (const auto& c : cases) {
        Options bag;
        bag.add("flag", c.value);
        EXPECT_EQ(bag.get_bool("flag", c.default_value), c.expected) << '"' << c.value << '"';
    }
    EXPECT_TRUE(Options().get_bool("missing", true));
}

TEST(Options, AddMakesObjectReplacesAndKeepsStrings) {
    Options bag;
    EXPECT_EQ(bag.str(), "null");
    bag.add("b", "1");
    EXPECT_EQ(bag.str(), R"({"b":"1"})");
    bag.add("b", "2");
    bag.add("B", R"({"x":"y"})");
    EXPECT_EQ(bag.str(), R"({"B":"{\"x\":\"y\"}","b":"2"})");

    Options parsed(R"({"n": 3})");
    parsed.add(std::string("n"), std::string("text"));
    EXPECT_EQ(parsed.get("n"), "text");
}

TEST(Options, CopiesShareAndClonesDoNot) {
    Options original;
    original.add("a", "1");
    Options copy = original;
    copy.add("b", "2");
    EXPECT_EQ(original.get("b"), "2");

    std::unique_ptr<Options> clone(original.clone());
    clone->add("c", "3");
    EXPECT_FALSE(original.has("c"));
    EXPECT_EQ(clone->get("a"), "1");
}

TEST(Options, StreamTextMatchesStrAndWidthIndents) {
    Options bag;
    bag.add("k", "v");
    bag.add("é", "ü");
    std::ostringstream plain;
    plain << bag;
    EXPECT_EQ(plain.str(), bag.str());
    EXPECT_EQ(bag.str(), "{\"k\":\"v\",\"é\":\"ü\"}");

    std::ostringstream pretty;
    pretty << std::setw(2) << bag;
    EXPECT_EQ(pretty.str(), "{\n  \"k\": \"v\",\n  \"é\": \"ü\"\n}");

    std::shared_ptr<dez::IOptions> shared = std::make_shared<Options>(bag);
    std::ostringstream via_shared;
    via_shared << shared;
    EXPECT_EQ(via_shared.str(), bag.str());
}

TEST(Options, InvalidUtf8ValueFailsOnPrint) {
    Options bag;
    bag.add("k", "\xC3");
    EXPECT_THROW(bag.str(), nlohmann::json::type_error);
}

TEST(Options, StreamConstructorFailsOnNoValue) {
    EXPECT_THROW(Options(""), nlohmann::json::parse_error);
    EXPECT_THROW(Options(nullptr), nlohmann::json::parse_error);
    EXPECT_THROW(Options("{bad"), nlohmann::json::parse_error);
}

TEST(Options, ForeachOverNonObjects) {
    int calls = 0;
    auto count = [&](std::string, std::string) { ++calls; };
    dez::foreach_option(Options(), count);
    dez::foreach_option(Options("[1, 2]"), count);
    EXPECT_EQ(calls, 0);
    EXPECT_THROW(dez::foreach_option(Options(R"(["s"])"), count),
                 nlohmann::json::invalid_iterator);
    EXPECT_THROW(dez::foreach_option(Options(R"({"a":"b"})"), {}), std::bad_function_call);
}

TEST(Options, BaseInterfaceAddIsNoOp) {
    struct ReadOnly : dez::IOptions {
        std::string get(const char*) const override { return ""; }
        std::string get(const char*, std::string d) const override { return d; }
        bool get_bool(const char*, bool d) const override { return d; }
        std::string str() const override { return "view"; }
        bool has(const char*) const override { return false; }
    } view;
    view.add("k", "v");
    EXPECT_FALSE(view.has("k"));
    std::shared_ptr<dez::IOptions> shared = std::make_shared<ReadOnly>();
    std::ostringstream out;
    out << shared;
    EXPECT_EQ(out.str(), "view");
}

} // namespace

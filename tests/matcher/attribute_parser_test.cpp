#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "document/attributes.h"
#include "foundation/logger.h"
#include "matcher/attribute_parser.h"
#include "matcher/attribute_parser_matcher.h"

namespace dez::trelix {
namespace {

// One parsed pair: the name, the value's text and whether it is a format.
struct Pair {
    std::string name;
    std::string text;
    bool format = false;

    bool operator==(const Pair& other) const {
        return name == other.name && text == other.text && format == other.format;
    }
};

std::ostream& operator<<(std::ostream& os, const Pair& pair) {
    return os << "(" << pair.name << ", " << pair.text << (pair.format ? ", format" : "") << ")";
}

Pair text_pair(std::string name, std::string text) {
    return {std::move(name), std::move(text), false};
}
Pair format_pair(std::string name, std::string text) {
    return {std::move(name), std::move(text), true};
}

std::vector<Pair> pairs_of(const Attributes& attributes) {
    std::vector<Pair> pairs;
    for (const auto& [name, value] : attributes) {
        if (const auto* text = boost::any_cast<std::string>(&value)) {
            pairs.push_back(text_pair(name, *text));
        } else if (const auto* format = boost::any_cast<AttributeFormatValue>(&value)) {
            EXPECT_TRUE(format->value.empty()) << name;
            pairs.push_back(format_pair(name, format->format));
        } else {
            ADD_FAILURE() << "value of " << name << " is neither text nor format";
        }
    }
    return pairs;
}

struct Case {
    const char* label;
    std::string text;
    std::vector<Pair> expected;
    bool reported; // "ERROR:[text]" written
};

void check(const std::function<Attributes(const std::string&)>& parse, const Case& c) {
    SCOPED_TRACE(c.label);
    testing::internal::CaptureStdout();
    Attributes result;
    try {
        result = parse(c.text);
    } catch (...) {
        testing::internal::GetCapturedStdout();
        throw;
    }
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(pairs_of(result), c.expected);
    EXPECT_EQ(out, c.reported ? "ERROR:[" + c.text + "]\n" : std::string());
}

// Parses that must end in the grammar's expectation failure, writing nothing.
void check_expectation_failure(const std::function<Attributes(const std::string&)>& parse,
                               const std::string& text) {
    SCOPED_TRACE(text);
    testing::internal::CaptureStdout();
    try {
        parse(text);
        ADD_FAILURE() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "boost::spirit::qi::expectation_failure");
    }
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

const std::string DQ = "\"";
const std::string TQ = "\"\"\"";
const std::string BS = "\\";

TEST(AttributeParser, ValueForms) {
    const Case cases[] = {
        {"empty text", "", {}, false},
        {"bare values", "@a=1;b=2", {text_pair("a", "1"), text_pair("b", "2")}, false},
        {"bare value keeps '=' and quotes inside",
         "@a=b=c" + DQ + "d",
         {text_pair("a", "b=c" + DQ + "d")},
         false},
        {"backslash outside quotes is plain",
         "@a=" + BS + DQ + "x",
         {text_pair("a", BS + DQ + "x")},
         false},
        {"quoted value holds ';'", "@a=" + DQ + "x;y" + DQ, {text_pair("a", "x;y")}, false},
        {"quoted value keeps spaces",
         "@a=" + DQ + " x\ty " + DQ,
         {text_pair("a", " x\ty ")},
         false},
        {"escaped quote",
         "@a=" + DQ + "x" + BS + DQ + "y" + DQ,
         {text_pair("a", "x" + DQ + "y")},
         false},
        {"backslash before other characters kept",
         "@a=" + DQ + "c" + BS + "d" + DQ,
         {text_pair("a", "c" + BS + "d")},
         false},
        {"empty quotes read as bare", "@a=" + DQ + DQ, {text_pair("a", DQ + DQ)}, false},
        {"unclosed quote read as bare",
         "@a=" + DQ + "x;b=1",
         {text_pair("a", DQ + "x"), text_pair("b", "1")},
         false},
        {"triple quotes",
         "@a=" + TQ + "x" + DQ + "y" + DQ + "z" + TQ,
         {text_pair("a", "x" + DQ + "y" + DQ + "z")},
         false},
        {"triple quotes hold ';'",
         "@a=" + TQ + "x;y" + TQ + ";b=2",
         {text_pair("a", "x;y"), text_pair("b", "2")},
         false},
        {"formatted, quoted", "@a=f" + DQ + "hello{x}" + DQ, {format_pair("a", "hello{x}")}, false},
        {"formatted, triple-quoted",
         "@a=f" + TQ + "hello{x}" + TQ,
         {format_pair("a", "hello{x}")},
         false},
        {"formatted with escaped quote",
         "@a=f" + DQ + "x" + BS + DQ + DQ,
         {format_pair("a", "x" + DQ)},
         false},
        {"mixed forms",
         "@a=" + DQ + "1" + DQ + ";b=f" + DQ + "{c}" + DQ + ";c=" + TQ + "3" + TQ + ";d=4",
         {text_pair("a", "1"), format_pair("b", "{c}"), text_pair("c", "3"), text_pair("d", "4")},
         false},
    };
    for (const auto& c : cases)
        check(parse_attributes, c);
}

TEST(AttributeParser, NamesAndWhiteSpace) {
    const Case cases[] = {
        {"space after ';' belongs to the name",
         "@a=1; b=2",
         {text_pair("a", "1"), text_pair(" b", "2")},
         false},
        {"name may begin with ';'",
         "@a=1;;b=2",
         {text_pair("a", "1"), text_pair(";b", "2")},
         false},
        {"name takes anything up to '='",
         "@x y" + DQ + "@;=1",
         {text_pair("x y" + DQ + "@;", "1")},
         false},
        {"duplicate names kept in order",
         "@a=1;b=2;a=" + DQ + "3" + DQ + ";a=1",
         {text_pair("a", "1"), text_pair("b", "2"), text_pair("a", "3"), text_pair("a", "1")},
         false},
        {"white space around the text",
         " \t\n@a=" + DQ + "v" + DQ + " \r\n",
         {text_pair("a", "v")},
         false},
        {"bare value keeps its trailing white space", "@a=1 \t", {text_pair("a", "1 \t")}, false},
        {"0x85 and 0xA0 count as white space",
         "\xa0\x85@a=" + DQ + "v" + DQ + "\x85\xa0",
         {text_pair("a", "v")},
         false},
        {"other bytes do not", "\x0e@a=1", {}, true},
        {"neither does a UTF-8 lead byte", "\xc2@a=1", {}, true},
    };
    for (const auto& c : cases)
        check(parse_attributes, c);
}

TEST(AttributeParser, MalformedTextsKeepThePairsReadSoFar) {
    const Case cases[] = {
        {"trailing ';'", "@a=1;", {text_pair("a", "1")}, true},
        {"pair without a name", "@a=1;=2", {text_pair("a", "1")}, true},
        {"text after a quoted value", "@a=" + DQ + "x" + DQ + "y;b=2", {text_pair("a", "x")}, true},
        {"second pair without '='", "@a=1;b", {text_pair("a", "1")}, true},
        {"no '@'", "a=1", {}, true},
        {"spaces only", "   ", {}, true},
        {"'@' alone", "@", {}, true},
        {"empty name", "@=1", {}, true},
        {"empty value", "@a=;b=2", {}, true},
    };
    for (const auto& c : cases)
        check(parse_attributes, c);
}

TEST(AttributeParser, FBeforeAQuoteCommitsToAFormattedValue) {
    for (const std::string& text :
         std::vector<std::string>{"@a=f" + DQ + "x", "@a=f" + DQ + DQ, "@a=f" + TQ + "x"})
        check_expectation_failure(parse_attributes, text);
}

TEST(AttributeParser, BareWordsStartingWithFArePlainValues) {
    const Case cases[] = {
        {"female", "@a=female", {text_pair("a", "female")}, false},
        {"false", "@a=1;b=false", {text_pair("a", "1"), text_pair("b", "false")}, false},
        {"f alone", "@a=f", {text_pair("a", "f")}, false},
        {"f then space", "@a=f " + DQ + "x" + DQ, {text_pair("a", "f " + DQ + "x" + DQ)}, false},
    };
    for (const auto& c : cases)
        check(parse_attributes, c);
}

TEST(AttributeParserMatcher, DelimitedValues) {
    const Case cases[] = {
        {"empty text", "", {}, false},
        {"literal and expression, spaced",
         "@ gender = " + DQ + "male" + DQ + " ; x=/m.*/",
         {text_pair("gender ", DQ + "male"), text_pair("x", "/m.*")},
         false},
        {"triple quotes carry no marker", "@a=" + TQ + "abc" + TQ, {text_pair("a", "abc")}, false},
        {"escaped quote becomes its backslash",
         "@a=" + DQ + "x" + BS + DQ + "y" + DQ,
         {text_pair("a", DQ + "x" + BS + "y")},
         false},
        {"delimited values hold ';' and spaces",
         "@a=" + DQ + "x; y" + DQ + ";b=/a;b/",
         {text_pair("a", DQ + "x; y"), text_pair("b", "/a;b")},
         false},
        {"duplicate names kept",
         "@a=" + DQ + "1" + DQ + ";a=/2/",
         {text_pair("a", DQ + "1"), text_pair("a", "/2")},
         false},
        {"0x85 and 0xA0 skipped between parts",
         "\xa0@\x85"
         "a\x85=\xa0" +
             DQ + "v" + DQ + "\x85;\tb=" + DQ + "w" + DQ + " ",
         {text_pair("a\x85", DQ + "v"), text_pair("b", DQ + "w")},
         false},
    };
    for (const auto& c : cases)
        check(parse_attributes_matcher, c);
}

TEST(AttributeParserMatcher, UndelimitedOrBrokenValuesAreReported) {
    const Case cases[] = {
        {"bare value", "@a=male", {}, true},
        {"formatted value", "@a=f" + DQ + "x" + DQ, {}, true},
        {"empty quotes", "@a=" + DQ + DQ, {}, true},
        {"empty expression", "@a=//", {}, true},
        {"unclosed expression", "@a=/x", {}, true},
        {"trailing ';'", "@a=" + DQ + "x" + DQ + ";", {text_pair("a", DQ + "x")}, true},
        {"text after a value", "@a=/x/y", {text_pair("a", "/x")}, true},
        {"no '@'", "a=" + DQ + "x" + DQ, {}, true},
    };
    for (const auto& c : cases)
        check(parse_attributes_matcher, c);
}

TEST(AttributeParserMatcher, BackslashMustEscapeAQuote) {
    for (const std::string& text :
         std::vector<std::string>{"@a=" + DQ + "x" + BS + "y" + DQ, "@a=" + DQ + "x" + BS,
                                  "@a=/x/;b=" + DQ + BS + BS + DQ})
        check_expectation_failure(parse_attributes_matcher, text);
}

// The grammars are shared between calls; parses on several threads must not
// disturb each other.
TEST(AttributeParser, ParsesOnSeveralThreadsAtOnce) {
    const std::string attribute_text = "@a=" + DQ + "x;y" + DQ + ";b=f" + TQ + "{c}" + TQ + ";c=1";
    const std::string matcher_text = "@ a = " + DQ + "x" + DQ + " ; b=/y/";
    const std::vector<Pair> attribute_expected{text_pair("a", "x;y"), format_pair("b", "{c}"),
                                               text_pair("c", "1")};
    const std::vector<Pair> matcher_expected{text_pair("a ", DQ + "x"), text_pair("b", "/y")};
    std::vector<int> mismatches(4, 0);
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < mismatches.size(); ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 300; ++i) {
                // Compared by hand: gtest assertions are not for worker threads.
                const Attributes a = parse_attributes(attribute_text);
                const Attributes m = parse_attributes_matcher(matcher_text);
                if (a.size() != 3 || boost::any_cast<std::string>(a[0].second) != "x;y" ||
                    boost::any_cast<AttributeFormatValue>(a[1].second).format != "{c}" ||
                    m.size() != 2 || boost::any_cast<std::string>(m[1].second) != "/y")
                    ++mismatches[t];
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(mismatches, std::vector<int>(4, 0));
    EXPECT_EQ(pairs_of(parse_attributes(attribute_text)), attribute_expected);
    EXPECT_EQ(pairs_of(parse_attributes_matcher(matcher_text)), matcher_expected);
}

// The logger registry is process-wide and keeps its loggers, so the messages
// land in storage that outlives every test.
std::vector<std::string>& runtime_errors() {
    static std::vector<std::string> messages;
    return messages;
}

TEST(AttributeParser, MalformedTextIsLoggedOnTheRuntimeChannel) {
    static const bool installed = [] {
        wlog::add_logger(
            {wlog::channel_runtime, wlog::level_error, [](unsigned short level, const char* text) {
                 if (level == wlog::level_error)
                     runtime_errors().emplace_back(text);
             }});
        return true;
    }();
    ASSERT_TRUE(installed);

    struct LogCase {
        std::function<Attributes(const std::string&)> parse;
        std::string text;
        bool logged;
    };
    const LogCase cases[] = {
        {parse_attributes, "@a=1;", true},           {parse_attributes, "no attributes", true},
        {parse_attributes, "@a=1", false},           {parse_attributes, "", false},
        {parse_attributes_matcher, "@a=male", true}, {parse_attributes_matcher, "@a=/m/", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        runtime_errors().clear();
        testing::internal::CaptureStdout();
        const Attributes result = c.parse(c.text);
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(out.empty(), !c.logged);
        ASSERT_EQ(runtime_errors().size(), c.logged ? 1u : 0u);
        if (c.logged) {
            EXPECT_NE(runtime_errors()[0].find("[" + c.text + "]"), std::string::npos)
                << runtime_errors()[0];
        }
    }

    // The partial list survives the report.
    runtime_errors().clear();
    testing::internal::CaptureStdout();
    EXPECT_EQ(pairs_of(parse_attributes("@a=1;b=2;")),
              (std::vector<Pair>{text_pair("a", "1"), text_pair("b", "2")}));
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(runtime_errors().size(), 1u);

    // An expectation failure is the caller's to handle, not a logged fault.
    runtime_errors().clear();
    EXPECT_THROW(parse_attributes("@a=f" + DQ + "x"), std::runtime_error);
    EXPECT_TRUE(runtime_errors().empty());
}

} // namespace
} // namespace dez::trelix

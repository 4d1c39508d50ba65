#include "foundation/exception.h"
#include "foundation/regex.h"
#include "foundation/regex_factory.h"

#include <gtest/gtest.h>

#include <boost/regex/pattern_except.hpp>

#include <atomic>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

std::vector<std::string> texts(const dez::SMatch& match) {
    std::vector<std::string> out;
    for (const auto& sub : match)
        out.push_back(sub.str);
    return out;
}

TEST(Regex, CaseFlagDecidesMatching) {
    EXPECT_TRUE(dez::Regex("abc", false).regex_match("abc"));
    EXPECT_FALSE(dez::Regex("abc", false).regex_match("ABC"));
    EXPECT_TRUE(dez::Regex("abc", true).regex_match("ABC"));
}

TEST(Regex, InvalidPatternFailsWithBoostError) {
    EXPECT_THROW(dez::Regex("(ab", false), boost::regex_error);
    EXPECT_THROW(dez::Regex("a{2,1}", false), boost::regex_error);
}

TEST(Regex, PerlSyntax) {
    const dez::Regex regex("(?:\\d+)\\s\\w+(?=!)", false);
    dez::SMatch match;
    ASSERT_TRUE(regex.regex_search("say 42 apples!", match));
    EXPECT_EQ(match[0].str, "42 apples");
}

TEST(Regex, SearchFillsGroupsAndRange) {
    const std::string text = "key=value; other";
    const dez::Regex regex("(\\w+)=(\\w+)", false);
    dez::SMatch match;
    ASSERT_TRUE(regex.regex_search(text, match));
    EXPECT_EQ(texts(match), (std::vector<std::string>{"key=value", "key", "value"}));
    EXPECT_EQ(match.first, text.data());
    EXPECT_EQ(match.last, text.data() + text.size());
    EXPECT_EQ(match[2].first, text.data() + 4);
    EXPECT_EQ(match[2].second, text.data() + 9);
    EXPECT_TRUE(match[1].matched);
}

TEST(Regex, SearchOverIteratorRange) {
    const std::string text = "a1 b2 c3";
    const dez::Regex regex("[a-z](\\d)", false);
    dez::SMatch match;
    ASSERT_TRUE(regex.regex_search(text.begin() + 2, text.end(), match));
    EXPECT_EQ(texts(match), (std::vector<std::string>{"b2", "2"}));
    EXPECT_EQ(match.first, text.data() + 2);
    EXPECT_EQ(match.last, text.data() + text.size());

    dez::SMatch empty_range;
    EXPECT_FALSE(regex.regex_search(text.end(), text.end(), empty_range));
    EXPECT_TRUE(empty_range.empty());
}

TEST(Regex, FailedMatchLeavesSMatchAlone) {
    const dez::Regex regex("x(y)", false);
    dez::SMatch match;
    EXPECT_FALSE(regex.regex_search("abc", match));
    EXPECT_FALSE(regex.regex_match("xyz", match));
    EXPECT_TRUE(match.empty());
    EXPECT_EQ(match.first, nullptr);
}

TEST(Regex, MatchesAppend) {
    const dez::Regex regex("(a)", false);
    dez::SMatch match;
    ASSERT_TRUE(regex.regex_match("a", match));
    ASSERT_TRUE(regex.regex_match("a", match));
    EXPECT_EQ(match.size(), 4u);
}

TEST(Regex, WholeMatchKeepsUnmatchedGroups) {
    const std::string text = "ab";
    const dez::Regex regex("(ab)|(cd)(ef)", false);
    dez::SMatch match;
    ASSERT_TRUE(regex.regex_match(text, match));
    ASSERT_EQ(match.size(), 4u);
    EXPECT_EQ(match[0].str, "ab");
    EXPECT_EQ(match[1].str, "ab");
    for (int group : {2, 3}) {
        EXPECT_FALSE(match[group].matched);
        EXPECT_EQ(match[group].str, "");
        EXPECT_EQ(match[group].first, text.data() + text.size());
        EXPECT_EQ(match[group].second, text.data() + text.size());
    }
    // regex_match leaves the range fields alone.
    EXPECT_EQ(match.first, nullptr);
    EXPECT_EQ(match.last, nullptr);
}

TEST(Regex, WholeMatchForms) {
    const dez::Regex regex("a+b", false);
    const std::string text = "xaab";
    EXPECT_TRUE(regex.regex_match("aab"));
    EXPECT_FALSE(regex.regex_match(text));
    EXPECT_TRUE(regex.regex_match(text.data() + 1, text.data() + text.size()));
    EXPECT_FALSE(regex.regex_match(text.data() + 1, text.data() + 3));
}

TEST(Regex, CopiesShareAndOutliveOriginal) {
    dez::Regex copy("b+", false);
    {
        const dez::Regex original("a+", false);
        copy = original;
    }
    EXPECT_TRUE(copy.regex_match("aaa"));
}

TEST(RegexReplace, ReplacesEveryMatchWithPerlFormat) {
    const struct {
        const char* text;
        const char* pattern;
        const char* format;
        const char* expected;
    } cases[] = {
        {"a-b-c", "-", "+", "a+b+c"},    {"john smith", "(\\w+) (\\w+)", "$2, $1", "smith, john"},
        {"no hit", "x", "y", "no hit"},  {"", "x*", "-", "-"},
        {"aXbX", "X", "$&$&", "aXXbXX"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(dez::RegexReplace(c.text, dez::Regex(c.pattern, false), c.format), c.expected)
            << c.text << " / " << c.pattern;
}

std::vector<std::string> all_matches(const std::string& pattern, const std::string& text) {
    std::vector<std::string> found;
    dez::RegexIterator it(dez::Regex(pattern, false), text);
    while (it.next() && found.size() < 100)
        found.push_back(it.match()[0].str);
    return found;
}

TEST(RegexIterator, VisitsSuccessiveMatches) {
    EXPECT_EQ(all_matches("\\d+", "a1 b22 c333"), (std::vector<std::string>{"1", "22", "333"}));
    EXPECT_TRUE(all_matches("\\d+", "none").empty());
    EXPECT_TRUE(all_matches("x", "").empty());
}

TEST(RegexIterator, MatchRangeIsWholeText) {
    const std::string text = "ab ab";
    dez::RegexIterator it(dez::Regex("a(b)", false), text);
    ASSERT_TRUE(it.next());
    ASSERT_TRUE(it.next());
    EXPECT_EQ(it.match().first, text.data());
    EXPECT_EQ(it.match().last, text.data() + text.size());
    EXPECT_EQ(it.match()[1].first, text.data() + 4);
    EXPECT_EQ(it.match().size(), 2u);
    EXPECT_FALSE(it.next());
    EXPECT_FALSE(it.next());
}

// An expression that can match the empty string must not find the same empty
// match for ever.
TEST(RegexIterator, EmptyMatchesTerminate) {
    EXPECT_EQ(all_matches("x*", "ab"), (std::vector<std::string>{"", "", ""}));
    EXPECT_EQ(all_matches("x*", "axxb"), (std::vector<std::string>{"", "xx", "", ""}));
    EXPECT_EQ(all_matches("x*", ""), (std::vector<std::string>{""}));
    EXPECT_EQ(all_matches("a?", "ab"), (std::vector<std::string>{"a", "", ""}));
}

// Catastrophic backtracking: Boost gives up, and the caller gets the library's
// own exception instead of an unknown one (or a hang).
TEST(Regex, ComplexityLimitRaisesException) {
    const dez::Regex regex("(x+x+)+y", false);
    const std::string text(64, 'x');
    dez::SMatch match;
    EXPECT_THROW(regex.regex_search(text, match), dez::Exception);
    EXPECT_THROW(regex.regex_match(text), dez::Exception);
    EXPECT_THROW(dez::RegexReplace(text, regex, "z"), dez::Exception);
    dez::RegexIterator it(regex, text);
    EXPECT_THROW(it.next(), dez::Exception);
    EXPECT_TRUE(match.empty());
}

TEST(RegexFactory, CachesPerPatternAndFlag) {
    dez::RegexFactory factory;
    const dez::Regex sensitive = factory.make_regex("abc", false);
    const dez::Regex insensitive = factory.make_regex("abc", true);
    EXPECT_FALSE(sensitive.regex_match("ABC"));
    EXPECT_TRUE(insensitive.regex_match("ABC"));
    // Asked again, each flag keeps its own expression.
    EXPECT_FALSE(factory.make_regex("abc", false).regex_match("ABC"));
    EXPECT_TRUE(factory.make_regex("abc", true).regex_match("ABC"));
}

TEST(RegexFactory, CompileErrorCachesNothing) {
    dez::RegexFactory factory;
    EXPECT_THROW(factory.make_regex("[a", false), boost::regex_error);
    EXPECT_THROW(factory.make_regex("[a", false), boost::regex_error);
}

TEST(RegexFactory, ProcessWideCacheKeysOnCaseFlag) {
    // The first caller's flag must not decide for later callers.
    const std::string pattern = "h4-process-wide-Case";
    EXPECT_FALSE(dez::tlx_regex(pattern).regex_match("H4-PROCESS-WIDE-CASE"));
    EXPECT_TRUE(dez::tlx_regex_case_insenitive(pattern).regex_match("H4-PROCESS-WIDE-CASE"));
    EXPECT_FALSE(dez::tlx_regex(pattern).regex_match("H4-PROCESS-WIDE-CASE"));
    EXPECT_TRUE(dez::RegexFactory::get_regex(pattern, true).regex_match("h4-PROCESS-wide-case"));
    EXPECT_NE(dez::gfactory, nullptr);
}

TEST(RegexFactory, TlxRegexDoesNotConvertBrackets) {
    // The process-wide form takes the pattern unchanged: [ab] stays a class.
    EXPECT_TRUE(dez::tlx_regex("[ab]+").regex_match("abba"));
}

TEST(RegexFactory, ConcurrentGetRegex) {
    std::atomic<int> failures{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t)
        threads.emplace_back([t, &failures] {
            for (int i = 0; i < 200; ++i) {
                const std::string pattern = "c" + std::to_string(i % 20) + "[0-9]";
                const bool icase = (i + t) % 2 == 0;
                const std::string text = (icase ? "C" : "c") + std::to_string(i % 20) + "7";
                if (!dez::RegexFactory::get_regex(pattern, icase).regex_match(text))
                    ++failures;
            }
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(failures.load(), 0);
}

} // namespace

#include "core-afst/pattern_line.h"

#include "core-afst/builder.h"
#include "network_paths.h"
#include "recording_builder.h"

#include <gtest/gtest.h>

#include <utf8.h>

#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using afst_test::RecordingBuilder;
using Calls = std::vector<std::string>;
using Pairs = std::vector<std::pair<std::string, std::string>>;
using dez::string::unicode::ErrorCode;

const std::set<char>& specials() {
    return dez::afst::pattern_special_characters();
}

struct Fed {
    int result;
    Calls calls;
    std::string errors;
};

Fed feed(const std::string& line) {
    RecordingBuilder builder;
    ::testing::internal::CaptureStderr();
    const int result = dez::afst::detail::push_arcs_line(builder, line);
    return {result, builder.calls, ::testing::internal::GetCapturedStderr()};
}

TEST(PatternSpecialCharacters, AreTheFourteenWithoutTheColon) {
    EXPECT_EQ(specials(), (std::set<char>{'.', '*', '\\', '+', '?', '(', ')', '[', ']', '{', '}',
                                          ',', '|', '$'}));
}

// ---- push_arcs_line -----------------------------------------------------

TEST(PushArcsLine, FeedsTheBuilderCalls) {
    struct Case {
        const char* line;
        Calls calls;
    };
    const Case cases[] = {
        // raw lines
        {"ab:xyz", {"a:x", "b:y", "eps:z"}},
        {"ab", {"a:in", "b:in"}},
        {"word:word[+Prop]", {"w:w", "o:o", "r:r", "d:d", "eps:+Prop"}},
        {"[#end]x", {"#end:in", "x:in"}},
        {"[#end1f]", {"#end1f:in"}},
        {"[ab]", {"[:in", "a:in", "b:in", "]:in"}},
        {"a.(|)*", {"a:in", ".:in", "(:in", "|:in", "):in", "*:in"}},
        {"a:b:c", {"a:b", "eps::", "eps:c"}},
        {"ab:\\.x", {"a:.", "b:x"}},
        {"x:", {"x:eps"}},
        {":xy", {"eps:x", "eps:y"}},
        {"\xc3\xbc:\xc3\xa9", {"\xc3\xbc:\xc3\xa9"}},
        // "regex:" lines
        {"regex:", {}},
        {"regex:a(b|c)*d", {"a:in", "open", "b:in", "union", "c:in", "close *", "d:in"}},
        {"regex:a.(bc){2,3}:x", {"a:x", "??:eps", "open", "b:eps", "c:eps", "close 2,3"}},
        {"regex:a\\.b", {"a:in", ".:in", "b:in"}},
        {"regex:a.b", {"a:in", "??:in", "b:in"}},
        {"regex:a\\x2eb", {"a:in", ".:in", "b:in"}},
        {"regex:(ab)x", {"open", "a:in", "b:in", "close ", "x:in"}},
        {"regex:(a){2}", {"open", "a:in", "close 2"}},
        {"regex:(a)+(b)?", {"open", "a:in", "close +", "open", "b:in", "close ?"}},
        {"regex:a*+?{},$", {"a:in", "*:in", "+:in", "?:in", "{:in", "}:in", ",:in", "$:in"}},
        {"regex:\\(a\\)", {"(:in", "a:in", "):in"}},
        {"regex:[abc]d", {"abc:in", "d:in"}},
        {"regex:[a:b]c:x", {"a:b:x", "c:eps"}},
        {"regex:a:xyz", {"a:x", "eps:y", "eps:z"}},
        {"regex:ab:\\.", {"a:\\", "b:."}},
        {"regex:ab:[+Tag]", {"a:+Tag", "b:eps"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const Fed fed = feed(c.line);
        EXPECT_EQ(fed.result, 0);
        EXPECT_EQ(fed.calls, c.calls);
        EXPECT_EQ(fed.errors, "");
    }
}

TEST(PushArcsLine, EmptyLineDoesNothing) {
    const Fed fed = feed("");
    EXPECT_EQ(fed.result, 1);
    EXPECT_EQ(fed.calls, Calls{});
}

// A line that cannot be fed whole feeds nothing: the rule stays empty and a
// union of rules skips it, instead of keeping a rule that matches "".
TEST(PushArcsLine, BrokenLinesFeedNothing) {
    struct Case {
        const char* line;
        int result;
        const char* errors;
    };
    const Case cases[] = {
        {"regex:a)b", -1, "Error missing open bracket in FST push [a)b]\n"},
        {"regex:(a))", -1, "Error missing open bracket in FST push [(a))]\n"},
        {"regex:ab(c){2", -3, ""},
        {"regex:ab(c){", -3, ""},
        // A numeric escape reads as "(" but is no operator text.
        {"regex:ab\\x28c", -2, "unknown format string.\n"},
        {"regex:(ab\\x29", -2, "unknown format string.\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const Fed fed = feed(c.line);
        EXPECT_EQ(fed.result, c.result);
        EXPECT_EQ(fed.calls, Calls{});
        EXPECT_EQ(fed.errors, c.errors);
    }
}

TEST(PushArcsLine, EscapedColonIsASymbolAndReported) {
    const std::string message = "Invalid escaped character [0x3a(:)]\n";
    Fed fed = feed("a\\:b");
    EXPECT_EQ(fed.calls, (Calls{"a:in", "::in", "b:in"}));
    EXPECT_EQ(fed.errors, message); // from splitting; a raw line reports nothing itself
    fed = feed("regex:a\\:b");
    EXPECT_EQ(fed.calls, (Calls{"a:in", "::in", "b:in"}));
    EXPECT_EQ(fed.errors, message + message); // splitting, then reading
    fed = feed("regex:a\\qb:x");
    EXPECT_EQ(fed.result, 0);
    EXPECT_EQ(fed.calls, (Calls{"a:x", "q:eps", "b:eps"}));
    EXPECT_EQ(fed.errors, "Invalid escaped character [0x71(q)]\n");
}

TEST(PushArcsLine, InvalidTextThrows) {
    RecordingBuilder builder;
    EXPECT_THROW(dez::afst::detail::push_arcs_line(builder, "a\xff:b"), utf8::invalid_utf8);
    EXPECT_THROW(dez::afst::detail::push_arcs_line(builder, "regex:a\\u00"), dez::Exception);
}

// Through a real builder: the rule conjecture feeds reads T and writes T+uri.
TEST(PushArcsLine, BuildsTheRuleOfALine) {
    struct Case {
        const char* line;
        std::set<afst_test::Path> paths;
    };
    const Case cases[] = {
        {"word:word[+Prop]", {{"word", "word+Prop"}}},
        {"regex:a(b|c)d:x", {{"abd", "x"}, {"acd", "x"}}},
        {"regex:(ab){1,2}", {{"ab", "inin"}, {"abab", "inininin"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        dez::afst::Builder builder;
        builder.open_rule();
        ASSERT_EQ(dez::afst::push_arcs_line(builder, c.line), 0);
        builder.close_rule();
        EXPECT_EQ(afst_test::paths(*builder.build(true)), c.paths);
    }
}

TEST(PushArcsLine, BrokenLineLeavesNoRuleInAUnion) {
    for (const char* broken : {"regex:x)", "regex:ab\\x28c", "regex:ab(c){2"}) {
        SCOPED_TRACE(broken);
        dez::afst::Builder builder;
        builder.open_rule();
        ASSERT_EQ(dez::afst::push_arcs_line(builder, "xy"), 0);
        builder.close_rule();
        builder.open_rule();
        ::testing::internal::CaptureStderr();
        EXPECT_LT(dez::afst::push_arcs_line(builder, broken), 0);
        ::testing::internal::GetCapturedStderr();
        builder.close_rule();
        builder.applyUnion(0);
        EXPECT_EQ(afst_test::paths(*builder.build(true)),
                  (std::set<afst_test::Path>{{"xy", "inin"}}));
    }
}

// ---- parseline and parseline_raw ----------------------------------------

TEST(Parseline, GivesOperatorPairs) {
    ErrorCode error;
    const Pairs expected = {{"a", "in"},     {"(", "format"},  {"??", "in"},
                            {"|", "format"}, {")*", "format"}, {"b", "in"}};
    EXPECT_EQ(dez::afst::parseline(std::string("a(.|)*b"), specials(), error), expected);
    EXPECT_EQ(dez::afst::parseline(std::string_view("a(.|)*b"), specials(), error), expected);
    EXPECT_EQ(error.code, 0);
    EXPECT_EQ(dez::afst::parseline(std::string("(a){2,5}"), specials(), error),
              (Pairs{{"(", "format"}, {"a", "in"}, {"){2,5}", "format"}}));
}

TEST(Parseline, UnbalancedBracketGivesNothing) {
    ErrorCode error;
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(dez::afst::parseline(std::string("ab)"), specials(), error), Pairs{});
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "Error missing open bracket in FST push [ab)]\n");
    EXPECT_EQ(error.code, 0);
}

TEST(Parseline, KeepsTokensReadBeforeAnEscapeError) {
    ErrorCode error;
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(dez::afst::parseline(std::string("a\\qb"), specials(), error),
              (Pairs{{"a", "in"}, {"q", "in"}, {"b", "in"}}));
    ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(error.code, 1);
}

TEST(ParselineRaw, RecordsEscapeErrorsWithoutReporting) {
    ErrorCode error;
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(dez::afst::parseline_raw("a\\qb:x", specials(), error),
              (Pairs{{"a", "x"}, {"q", "eps"}, {"b", "eps"}}));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(error.code, 1);
    EXPECT_EQ(error.message, "Invalid escaped character [0x71(q)]");
}

// ---- split_up_down ------------------------------------------------------

TEST(SplitUpDown, SplitsAtTheFirstPlainColon) {
    struct Case {
        const char* text;
        std::vector<std::string> parts;
    };
    const Case cases[] = {
        {"ab:cd", {"ab", "cd"}},
        {"ab", {"ab"}},
        {"", {""}},
        {":", {"", ""}},
        {"a:b:c", {"a", "b:c"}},
        {"[a:b]:c", {"[a:b]", "c"}},
        {"[a:b", {"[a:b"}},
        {"\\[a:b]:c", {"\\[a:b]", "c"}},
        {"\\.:x", {"\\.", "x"}},
        {"a\\\\:b", {"a\\\\:b"}}, // the code point after "\\" is passed over
        {"\xc3\xbc:\xc3\xa9", {"\xc3\xbc", "\xc3\xa9"}},
        {"\\\xc3\xbc:x", {"\\\xc3\xbc", "x"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<std::string> parts = {"stale"};
        dez::afst::split_up_down(parts, c.text, 0, specials());
        EXPECT_EQ(parts, c.parts);
    }
}

TEST(SplitUpDown, EscapedColonNeverSplits) {
    std::vector<std::string> parts;
    ::testing::internal::CaptureStderr();
    dez::afst::split_up_down(parts, "a\\:b", 'a', specials());
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Invalid escaped character [0x3a(:)]\n");
    EXPECT_EQ(parts, (std::vector<std::string>{"a\\:b"}));
    // Also where the caller's set lets the colon be escaped.
    std::set<char> with_colon = specials();
    with_colon.insert(':');
    dez::afst::split_up_down(parts, "a\\:b:c", 'a', with_colon);
    EXPECT_EQ(parts, (std::vector<std::string>{"a\\:b", "c"}));
    // A plain colon right after an escaped one splits, in both sets.
    for (const auto& set : {specials(), with_colon}) {
        ::testing::internal::CaptureStderr();
        dez::afst::split_up_down(parts, "\\::x", 0, set);
        ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(parts, (std::vector<std::string>{"\\:", "x"}));
    }
}

TEST(SplitUpDown, InvalidUtf8Throws) {
    std::vector<std::string> parts;
    EXPECT_THROW(dez::afst::split_up_down(parts, "a\xff:b", 0, specials()), utf8::invalid_utf8);
    EXPECT_THROW(dez::afst::split_up_down(parts, "a\xc3", 0, specials()), utf8::not_enough_room);
}

// ---- get_closure_string -------------------------------------------------

TEST(GetClosureString, ReadsTheOperatorAfterABracket) {
    struct Case {
        const char* text; // starts with ")"
        bool closure;
        const char* out;
        std::size_t position;
    };
    const Case cases[] = {
        {")", false, ")", 1},   {")*x", true, ")*", 2},         {")+", true, ")+", 2},
        {")?", true, ")?", 2},  {"){2,3}x", true, "){2,3}", 6}, {"){2", true, "){2", 3},
        {")x*", false, ")", 1}, {")\\*", false, ")", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::string text = c.text;
        std::string::const_iterator start = text.begin();
        std::string::const_iterator position = start + 1;
        std::string out = "stale";
        EXPECT_EQ(dez::afst::get_closure_string(start, position, text.end(), out), c.closure);
        EXPECT_EQ(out, c.out);
        EXPECT_EQ(static_cast<std::size_t>(position - text.begin()), c.position);
    }
}

} // namespace

#include "core-afst/formatted_string.h"

#include "core-afst/builder.h"
#include "network_paths.h"
#include "recording_builder.h"

#include <gtest/gtest.h>

#include <utf8.h>

#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using afst_test::RecordingBuilder;
using Calls = std::vector<std::string>;

Calls calls_of(const std::string& text) {
    RecordingBuilder builder;
    dez::afst::detail::add_formatted_string(builder, text.data(), text.data() + text.size());
    return builder.calls;
}

TEST(AddFormattedString, FeedsTheBuilderCalls) {
    struct Case {
        const char* text;
        Calls calls;
    };
    const Case cases[] = {
        {"", {}},
        {"ab", {"a:eps", "b:eps"}},
        {"a.(b|c)*", {"a:eps", "??:eps", "open", "b:eps", "union", "c:eps", "close *"}},
        {"(ab){2,3}x", {"open", "a:eps", "b:eps", "close 2,3", "x:eps"}},
        {"(a)+(b)?", {"open", "a:eps", "close +", "open", "b:eps", "close ?"}},
        {"(a)x", {"open", "a:eps", "close ", "x:eps"}},
        {"(a)", {"open", "a:eps", "close "}},
        {"(a)(b)", {"open", "a:eps", "close ", "open", "b:eps", "close "}},
        {"\\(a\\.", {"(:eps", "a:eps", ".:eps"}},
        {"a\\", {"a:eps"}},
        {"[#end1a]b", {"#end1a:eps", "b:eps"}},
        {"[a:b]", {"a:b:eps"}},
        {"a:b*$", {"a:eps", "::eps", "b:eps", "*:eps", "$:eps"}},
        {"\xc3\xbc\\\xc3\xa9", {"\xc3\xbc:eps", "\xc3\xa9:eps"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(calls_of(c.text), c.calls);
    }
}

TEST(AddFormattedString, Failures) {
    auto message_of = [](const std::string& text) {
        try {
            calls_of(text);
        } catch (const std::runtime_error& e) {
            return std::string(e.what());
        }
        return std::string("no exception");
    };
    EXPECT_EQ(message_of("ab[cd"), "missing braket ]");
    EXPECT_EQ(message_of("(a){2"), "missing } braket]");
    EXPECT_THROW(calls_of("a\xff"), utf8::invalid_utf8);
    EXPECT_THROW(calls_of("a\xc3"), utf8::not_enough_room);
    EXPECT_THROW(calls_of("[a\xff]"), utf8::invalid_utf8);
    EXPECT_THROW(calls_of("(a){\xff}"), utf8::invalid_utf8);

    RecordingBuilder builder;
    const char* text = "ab";
    try {
        dez::afst::detail::add_formatted_string(builder, text + 2, text);
        ADD_FAILURE() << "no exception";
    } catch (const std::out_of_range& e) {
        EXPECT_STREQ(e.what(), "Invalid utf-8 iterator position");
    }
}

// Through a real builder, in the order the lexicon build uses it.
TEST(AddFormattedString, EveryFormBuildsTheSameRule) {
    const std::string text = "a(b|c){1,2}[#end1]";
    const std::set<afst_test::Path> expected = {{"ab#end1", ""},  {"ac#end1", ""},
                                                {"abb#end1", ""}, {"abc#end1", ""},
                                                {"acb#end1", ""}, {"acc#end1", ""}};
    for (int form = 0; form < 4; ++form) {
        SCOPED_TRACE(form);
        auto builder = std::make_shared<dez::afst::Builder>();
        builder->open_rule();
        switch (form) {
        case 0:
            dez::afst::add_formatted_string(builder.get(), text.c_str());
            break;
        case 1:
            dez::afst::add_formatted_string(builder.get(), text);
            break;
        case 2:
            dez::afst::add_formatted_string(builder, text);
            break;
        default:
            dez::afst::add_formatted_string(builder, text.c_str());
            break;
        }
        builder->close_rule();
        EXPECT_EQ(afst_test::paths(*builder->build(true)), expected);
    }
}

} // namespace

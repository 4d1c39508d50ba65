#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "api/dez_api.h"
#include "api/profiler.h"
#include "api/thread_buffers.h"
#include "tests/api/result_fixture.h"
#include "tests/api/handle_fixture.h"

namespace dez::trelix {
namespace {

using dez::api::fixture::Record;

using fixture::TestResult;
using fixture::token_at;

// The uris and token literals a concept covers, e.g. "C:a b".
std::string covered(const Concept* c) {
    std::string text = c->uri + ":";
    for (const Annotation* a = c->next; a && a != c->end_annotation; a = a->next)
        if (a->type == annotation_token)
            text += (text.back() == ':' ? "" : " ") + static_cast<const Token*>(a)->literal;
    return text;
}

TEST(ResultCalls, JsonIsPrintedAgainOnEveryCall) {
    TestResult result;
    result.sentence(fixture::words_of("New York is big"));
    Record error;
    size_t length = 0;
    const std::string before = dez_api_get_result_json_buffer(result.object(), &length, &error);
    EXPECT_EQ(length, before.size());
    EXPECT_EQ(before.find("City"), std::string::npos);
    ASSERT_NE(dez_api_add_concept(result.object(), 0, 8, "City", false, &error), nullptr);
    const char* after = dez_api_get_result_json_buffer(result.object(), &length, &error);
    EXPECT_NE(std::string(after).find(R"([2,0,8,"City",{}])"), std::string::npos);
    EXPECT_EQ(error.code, 0);
}

TEST(ResultCalls, AddConcept) {
    struct Case {
        const char* name;
        uint32_t begin;
        uint32_t end;
        bool unicode;
        std::string expected; // empty: nothing added
    };
    // "a b c" after a two-byte character: bytes 0-1 "é", then a=3, b=5, c=7.
    const std::vector<Case> cases = {
        {"two whole tokens before a third", 3, 6, false, "C:a b"},
        {"end at the begin of the next token", 3, 5, false, "C:a"},
        {"reaches the end of the sentence", 5, 8, false, "C:b c"},
        {"last token alone", 7, 8, false, "C:c"},
        {"far past the end", 3, 100, false, "C:a b c"},
        {"begin inside a token", 4, 8, false, ""},
        {"begin between tokens", 2, 8, false, ""},
        {"offsets in characters", 2, 5, true, "C:a b"},
    };
    for (const Case& c : cases) {
        TestResult result("{}", "{}", "\xC3\xA9 a b c");
        result.sentence({{"\xC3\xA9", 0, 2}, {"a", 3, 4}, {"b", 5, 6}, {"c", 7, 8}});
        Record error;
        auto* added = reinterpret_cast<Concept*>(
            dez_api_add_concept(result.object(), c.begin, c.end, "C", c.unicode, &error));
        EXPECT_EQ(error.code, 0) << c.name << ": " << error.message;
        if (c.expected.empty()) {
            EXPECT_EQ(added, nullptr) << c.name;
            continue;
        }
        ASSERT_NE(added, nullptr) << c.name;
        EXPECT_EQ(covered(added), c.expected) << c.name;
        EXPECT_TRUE(added->flags[Concept::import]) << c.name;
        EXPECT_EQ(reinterpret_cast<Concept*>(dez_api_get_concept(result.object(), added->begin,
                                                                 added->end, "C", false, &error)),
                  added)
            << c.name;
    }
}

TEST(ResultCalls, AddConceptRefusesANullUri) {
    TestResult result;
    result.sentence(fixture::words_of("a b"));
    Record error;
    EXPECT_EQ(dez_api_add_concept(result.object(), 0, 3, nullptr, false, &error), nullptr);
    EXPECT_EQ(error.code, 4);
    EXPECT_STREQ(error.message, "basic_string::_S_construct null not valid");
}

TEST(ResultCalls, GetConcept) {
    TestResult result;
    Sentence* s = result.sentence(fixture::words_of("New York is big"));
    Concept* city = fixture::add_concept(*s, token_at(*s, 0), token_at(*s, 1), "City");
    Record error;
    struct Case {
        const char* name;
        uint32_t begin;
        uint32_t end;
        const char* uri;
        bool found;
    };
    const std::vector<Case> cases = {
        {"exact", 0, 8, "City", true},
        {"uri differs in case", 0, 8, "city", false},
        {"other end", 0, 3, "City", false},
        {"beyond the document", 100, 108, "City", false},
    };
    for (const Case& c : cases) {
        auto* found = reinterpret_cast<Concept*>(
            dez_api_get_concept(result.object(), c.begin, c.end, c.uri, false, &error));
        EXPECT_EQ(found, c.found ? city : nullptr) << c.name;
    }
    EXPECT_EQ(error.code, 0);
    EXPECT_EQ(dez_api_get_concept(result.object(), 0, 8, nullptr, false, &error), nullptr);
    EXPECT_EQ(error.code, 4);
}

TEST(ResultCalls, RemovePos) {
    struct Case {
        const char* name;
        uint32_t begin;
        uint32_t end;
        std::string kept; // readings left per token, "+" a Verb reading kept
    };
    // Tokens a [0,1], bb [2,4], c [5,6], each with a Noun and a Verb reading.
    const std::vector<Case> cases = {
        {"one token", 0, 1, "-++"},        {"second token ends after the asked end", 0, 3, "-++"},
        {"two whole tokens", 0, 4, "--+"}, {"begin between tokens", 1, 6, "+--"},
        {"nothing there", 7, 9, "+++"},
    };
    for (const Case& c : cases) {
        TestResult result;
        Sentence* s = result.sentence({{"a", 0, 1}, {"bb", 2, 4}, {"c", 5, 6}});
        for (size_t i = 0; i < 3; ++i) {
            token_at(*s, i)->readings.emplace_back("Verb", "v", 1.0);
            token_at(*s, i)->readings.emplace_back("Noun", "n", 1.0);
        }
        Record error;
        dez_api_remove_pos(result.object(), c.begin, c.end, "Verb", false, &error);
        EXPECT_EQ(error.code, 0) << c.name;
        std::string kept;
        for (size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(token_at(*s, i)->readings.back().pos, "Noun") << c.name;
            kept += token_at(*s, i)->readings.size() == 2 ? '+' : '-';
        }
        EXPECT_EQ(kept, c.kept) << c.name;
    }
    TestResult result;
    result.sentence(fixture::words_of("a"));
    Record error;
    dez_api_remove_pos(result.object(), 0, 1, nullptr, false, &error);
    EXPECT_EQ(error.code, 4);
}

TEST(ResultCalls, IdLanguageAndOffsets) {
    TestResult result(R"({"id":"doc-7"})", "{}", "\xC3\xA9t\xC3\xA9");
    Record error;
    size_t length = 0;
    EXPECT_STREQ(dez_api_get_result_id_buffer(result.object(), &length, &error), "doc-7");
    EXPECT_EQ(length, 5u);
    EXPECT_STREQ(dez_api_get_result_language_buffer(result.object(), &length, &error), "english");
    EXPECT_EQ(length, 7u);
    EXPECT_EQ(dez_api_get_byte_offset(result.object(), 2, &error), 3u);
    EXPECT_EQ(reinterpret_cast<AnnotationCollection*>(
                  dez_api_get_result_annotations(result.object(), &error)),
              result.document.annotations.get());
    EXPECT_EQ(error.code, 0);

    result.document.offset_table.reset();
    EXPECT_EQ(dez_api_get_byte_offset(result.object(), 2, &error), 0xFFFFFFFFu);
    EXPECT_EQ(error.code, 1);
    EXPECT_STREQ(error.message, "unkown unicode offset mapping");
}

TEST(ResultCalls, InternalJsonAndProfilingShareOneBuffer) {
    TestResult result;
    Record error;
    size_t length = 99;
    const char* internal =
        dez_api_get_internal_result_json_buffer(result.object(), &length, &error);
    ASSERT_NE(internal, nullptr);
    EXPECT_GT(length, 0u);
    EXPECT_STREQ(internal, dez::api::thread_buffers().debug_buffer.c_str());
    const char* profile = dez_api_get_profiling_json_buffer(result.object(), &length, &error);
    EXPECT_STREQ(profile, "");
    EXPECT_EQ(length, 0u);
    EXPECT_TRUE(dez::api::thread_buffers().debug_buffer.empty());
    EXPECT_EQ(error.code, 0);

    // A document with a profiler answers the report the profiler keeps,
    // not a copy in the shared buffer.
    auto reporter = std::make_shared<profiler::Profiler>();
    result.document.profiler = reporter;
    reporter->start("rule_a");
    reporter->stop("rule_a");
    const char* report = dez_api_get_profiling_json_buffer(result.object(), &length, &error);
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(error.code, 0);
    EXPECT_EQ(report, reporter->report_text.c_str());
    EXPECT_EQ(length, reporter->report_text.size());
    const auto parsed = nlohmann::json::parse(report);
    EXPECT_EQ(parsed["profile"]["rules"]["files"]["rule_a"]["locations"][0]["triggered"], 1);
}

TEST(ResultCalls, RefuseMissingAndForeignHandles) {
    TestResult result;
    Record error;
    size_t length = 0;
    EXPECT_EQ(dez_api_get_result_json_buffer(nullptr, &length, &error), nullptr);
    EXPECT_EQ(error.code, 1);
    EXPECT_STREQ(error.message, "Result Object has not been initialized.");
    Record foreign;
    EXPECT_EQ(dez_api_get_result_json_buffer(&result.analyzer.handle, &length, &foreign), nullptr);
    EXPECT_EQ(foreign.code, 1);
    EXPECT_STREQ(foreign.message, "Invalid handle: not a result.");
    EXPECT_EQ(get_blackboard(&result.analyzer.handle), nullptr);
    EXPECT_EQ(get_blackboard(nullptr), nullptr);
    EXPECT_EQ(get_blackboard(result.object()), &result.document);
    EXPECT_EQ(get_engine(result.object()), nullptr);
}

} // namespace
} // namespace dez::trelix

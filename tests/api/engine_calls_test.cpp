#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "api/analyzer.h"
#include "api/api_arguments.h"
#include "api/blackboard.h"
#include "api/dez_api.h"
#include "api/engine.h"
#include "document/blackboard.h"
#include "engine/engine.h"
#include "tests/api/handle_fixture.h"

namespace dez::api {
namespace {

using dez::api::fixture::Record;
using dez::api::fixture::Held;

const std::string fixture_folder = std::string(TRELIX_TEST_DATA) + "/run";

dez_object* fixture_engine(Record& error) {
    const nlohmann::json options = {{"root_path", fixture_folder}, {"morfex", fixture_folder}};
    return dez_api_get_engine(options.dump().c_str(), 0, &error);
}

TEST(EngineCalls, RoadFromEngineToResult) {
    Record error;
    Held engine(fixture_engine(error));
    ASSERT_NE(engine.handle, nullptr) << error.message;
    EXPECT_NE(get_engine(engine.handle), nullptr);
    Held analyzer(dez_api_get_analyzer(engine.handle, R"({"language":"fixture"})", 0, &error));
    ASSERT_NE(analyzer.handle, nullptr) << error.message;
    const char text[] = "Anna walks.";
    Held result(dez_api_analyze_document(analyzer.handle, text, sizeof text - 1, R"({"id":"x"})", 0,
                                         &error));
    ASSERT_NE(result.handle, nullptr) << error.message;
    dez::trelix::Blackboard* document = get_blackboard(result.handle);
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(std::string(document->text, document->text_length), text);
    EXPECT_FALSE(document->sentences.empty());

    // Processing the result again answers the same handle.
    EXPECT_EQ(dez_api_analyze_result(analyzer.handle, result.handle, &error), result.handle);

    // The result outlives its analyzer handle.
    dez_api_dec_ref(analyzer.handle, &error);
    analyzer.handle = nullptr;
    size_t length = 0;
    const char* json = dez_api_get_result_json_buffer(result.handle, &length, &error);
    ASSERT_NE(json, nullptr);
    EXPECT_EQ(nlohmann::json::parse(json).at("language"), "fixture");
    EXPECT_EQ(error.code, 0) << error.message;
}

TEST(EngineCalls, GuardMessages) {
    Record error;
    Held engine(fixture_engine(error));
    ASSERT_NE(engine.handle, nullptr);
    struct Case {
        const char* name;
        std::function<bool(dez_exception*)> call; // true: the call answered its failure
        int32_t code;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"analyzer without engine",
         [](dez_exception* e) { return !dez_api_get_analyzer(nullptr, "{}", 0, e); }, 1,
         "Engine has not been initialized."},
        {"document without analyzer",
         [](dez_exception* e) { return !dez_api_analyze_document(nullptr, "a", 1, "{}", 0, e); }, 1,
         "Analyzer has not been initialized."},
        {"engine where an analyzer belongs",
         [&](dez_exception* e) {
             return !dez_api_analyze_document(engine.handle, "a", 1, "{}", 0, e);
         },
         1, "Invalid handle: not an analyzer."},
        {"result again without result",
         [&](dez_exception* e) { return !dez_api_analyze_result(nullptr, nullptr, e); }, 1,
         "Analyzer has not been initialized."},
        {"malformed options",
         [&](dez_exception* e) {
             return !dez_api_get_analyzer(engine.handle, "{language:fixture}", 0, e);
         },
         5, nullptr},
        {"language that is no string",
         [&](dez_exception* e) {
             return !dez_api_get_analyzer(engine.handle, R"({"language":3})", 0, e);
         },
         2, nullptr},
        {"null name with a length",
         [&](dez_exception* e) {
             return !dez_api_engine_release_domain(engine.handle, nullptr, 3, e);
         },
         4, "basic_string::_S_construct null not valid"},
    };
    for (const Case& c : cases) {
        Record record;
        EXPECT_TRUE(c.call(&record)) << c.name;
        EXPECT_EQ(record.code, c.code) << c.name << ": " << record.message;
        if (c.message) {
            EXPECT_STREQ(record.message, c.message) << c.name;
        }
    }
}

TEST(EngineCalls, MalformedEngineOptionsMakeNoEngine) {
    Record error;
    testing::internal::CaptureStdout();
    EXPECT_EQ(dez_api_get_engine("{\"root_path\":", 0, &error), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(error.code, 5);
    EXPECT_TRUE(nlohmann::json::accept(error.message)) << error.message;
}

TEST(EngineCalls, PropertyAndHousekeeping) {
    Record error;
    Held engine(fixture_engine(error));
    ASSERT_NE(engine.handle, nullptr);
    const std::string root = get_engine(engine.handle)->property("root_path");
    char output[8];
    std::memset(output, 'x', sizeof output);
    EXPECT_EQ(dez_api_engine_property(engine.handle, "root_pathXX", 9, output, 4, &error),
              root.size());
    EXPECT_EQ(std::string(output), root.substr(0, 3));
    EXPECT_EQ(output[4], 'x');

    EXPECT_EQ(dez_api_engine_property(engine.handle, "none", 4, output, sizeof output, &error), 0u);
    EXPECT_EQ(error.code, 1);

    Record housekeeping;
    EXPECT_FALSE(dez_api_engine_release_domain(engine.handle, "absent", 6, &housekeeping));
    EXPECT_TRUE(dez_api_engine_purge_domains(engine.handle, "{}", 2, &housekeeping));
    EXPECT_EQ(housekeeping.code, 0) << housekeeping.message;
}

// An engine whose information names the thread that asks.
class ThreadInfoEngine : public dez::trelix::Engine {
public:
    using Engine::Engine;
    std::string info() const override {
        std::ostringstream text;
        text << "info of " << std::this_thread::get_id();
        return text.str();
    }
};

TEST(EngineCalls, InformationLivesInEachThreadsBuffer) {
    const nlohmann::json options = {{"root_path", fixture_folder}, {"morfex", fixture_folder}};
    Held engine(new Engine(
        std::make_shared<ThreadInfoEngine>(options_argument(options.dump().c_str(), 0))));
    Record error;
    size_t length = 0;
    const char* here = dez_api_engine_info(engine.handle, &length, &error);
    ASSERT_NE(here, nullptr);
    const std::string here_text = here;
    EXPECT_EQ(length, here_text.size());
    std::string there_text;
    std::thread other([&] {
        Record record;
        const char* there = dez_api_engine_info(engine.handle, nullptr, &record);
        there_text = there ? there : "";
    });
    other.join();
    EXPECT_NE(there_text, here_text);
    EXPECT_EQ(there_text.rfind("info of ", 0), 0u);
    // The other thread's call left this thread's text as it was.
    EXPECT_EQ(std::string(here), here_text);
}

TEST(ToolCalls, VersionNamesAndPipelines) {
    Record error;
    EXPECT_TRUE(dez_api_is_valid_version_format("1.2.3 trailing", 5, &error));
    EXPECT_FALSE(dez_api_is_valid_version_format("1.x", 3, &error));
    EXPECT_EQ(error.code, 0);
    EXPECT_FALSE(dez_api_is_valid_version_format(nullptr, 4, &error));
    EXPECT_EQ(error.code, 4);

    Record name;
    EXPECT_STREQ(dez_api_language_longname("en", &name), "english");
    EXPECT_EQ(name.code, 0);
    EXPECT_EQ(dez_api_language_longname(nullptr, &name), nullptr);
    EXPECT_EQ(name.code, 4);

    Record tokenizer;
    dez_api_compile_tokenizer_file(nullptr, &tokenizer);
    EXPECT_EQ(tokenizer.code, 4);
    Record missing;
    const std::string absent = fixture_folder + "/absent.tokenizer";
    dez_api_compile_tokenizer_file(absent.c_str(), &missing);
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(std::string(missing.message).find("absent.tokenizer"), std::string::npos);

    Record pipeline;
    const char* expanded = dez_api_expand_pipeline(
        "a(b", 3, fixture_folder.c_str(), fixture_folder.size(), true, true, nullptr, 0, &pipeline);
    ASSERT_NE(expanded, nullptr);
    EXPECT_STREQ(expanded, "");
    EXPECT_EQ(pipeline.code, 5);
    EXPECT_TRUE(nlohmann::json::accept(pipeline.message)) << pipeline.message;
}

} // namespace
} // namespace dez::api

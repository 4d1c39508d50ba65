#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include <nlohmann/json.hpp>

#include "api/dez_api.h"
#include "tests/domain/temp_tree.h"
#include "tests/api/handle_fixture.h"

namespace dez::api {
namespace {

using dez::api::fixture::Record;

namespace fs = std::filesystem;

TEST(LanguageLongname, NamesOfCodes) {
    struct Case {
        const char* code;
        const char* name;
    };
    const Case cases[] = {
        {"EN", "english"},
        {"de", "german"},
        // Script-block codes the identifier may answer, missing from the
        // language table, and any other unknown code: the code itself.
        {"IN", "IN"},
        {"QQ", "QQ"},
        {"", ""},
        // A name is answered lower-cased.
        {"French", "french"},
    };
    for (const Case& c : cases) {
        Record error;
        const char* name = dez_api_language_longname(c.code, &error);
        ASSERT_NE(name, nullptr) << c.code;
        EXPECT_STREQ(name, c.name) << c.code;
        EXPECT_EQ(error.code, 0) << c.code;
    }
    Record error;
    EXPECT_EQ(dez_api_language_longname(nullptr, &error), nullptr);
    EXPECT_EQ(error.code, 4);
    EXPECT_STREQ(error.message, "basic_string::_S_construct null not valid");
}

class TokenizerFileCall : public ::testing::Test {
protected:
    fs::path rules_named(const std::string& name) {
        const fs::path rules = tree.root / name;
        fs::copy_file(std::string(TRELIX_TEST_DATA) + "/language/english.tokenizer", rules);
        return rules;
    }

    // The call's record, with what it prints kept off the test output.
    Record compile(const char* path) {
        Record error;
        testing::internal::CaptureStdout();
        dez_api_compile_tokenizer_file(path, &error);
        testing::internal::GetCapturedStdout();
        return error;
    }

    pipeline::fixture::TempTree tree;
};

TEST_F(TokenizerFileCall, WritesTheCacheBesideTheRules) {
    const fs::path rules = rules_named("english.tokenizer");
    const Record error = compile(rules.c_str());
    EXPECT_EQ(error.code, 0) << error.message;
    const fs::path cache = rules.string() + "_cache";
    ASSERT_TRUE(fs::exists(cache));
    EXPECT_GT(fs::file_size(cache), 0u);
}

TEST_F(TokenizerFileCall, FailuresReachTheRecord) {
    // The cache's name is one byte beyond the file system's limit: the rules
    // compile but no cache can be written.
    const fs::path too_long = rules_named(std::string(250, 'r') + ".rule");
    const fs::path empty = tree.file("empty.tokenizer");
    const std::string absent = (tree.root / "absent.tokenizer").string();
    struct Case {
        const char* name;
        const char* path;
        int32_t code;
        std::string message; // a prefix
    };
    const Case cases[] = {
        {"no path", nullptr, 4, "basic_string::_S_construct null not valid"},
        {"missing rules", absent.c_str(), 1,
         "Missing tokenizer file: [absent.tokenizer] " + absent},
        {"rules ICU refuses", empty.c_str(), 1, "Loading regex parser :"},
        {"cache that cannot be written", too_long.c_str(), 1,
         "Can not write cache file : " + too_long.string() + "_cache"},
    };
    for (const Case& c : cases) {
        const Record error = compile(c.path);
        EXPECT_EQ(error.code, c.code) << c.name << ": " << error.message;
        EXPECT_EQ(std::string(error.message).rfind(c.message, 0), 0u)
            << c.name << ": " << error.message;
    }
}

TEST(ExpandPipelineCall, FolderListAndFailures) {
    pipeline::fixture::TempTree tree;
    const fs::path first = tree.file("one/alpha.dom").parent_path();
    const fs::path second = tree.file("two/beta.dom").parent_path();
    tree.file("three/gamma.dom");

    // Empty pieces of the folder list are dropped; only listed folders count.
    const std::string folders = first.string() + "::" + second.string() + ":";
    Record error;
    const char* text = dez_api_expand_pipeline("alpha,beta,gamma", 16, folders.data(),
                                               folders.size(), true, true, nullptr, 0, &error);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(error.code, 0) << error.message;
    const nlohmann::json expanded = nlohmann::json::parse(text);
    ASSERT_EQ(expanded.size(), 3u) << text;
    EXPECT_EQ(expanded[0]["filename"], fs::canonical(first / "alpha.dom").string());
    EXPECT_EQ(expanded[1]["filename"], fs::canonical(second / "beta.dom").string());
    // A component found nowhere is an entry of the answer, not a failure.
    EXPECT_EQ(expanded[2]["exception_type"], "not_found") << text;

    // A failure empties the buffer the last answer lives in.
    const std::string malformed = "alpha)";
    Record failed;
    const char* after = dez_api_expand_pipeline(malformed.data(), malformed.size(), folders.data(),
                                                folders.size(), true, true, nullptr, 0, &failed);
    ASSERT_NE(after, nullptr);
    EXPECT_STREQ(after, "");
    EXPECT_EQ(failed.code, 5);
    const nlohmann::json failure = nlohmann::json::parse(failed.message);
    EXPECT_EQ(failure["exception_type"], "pipeline_error");
    EXPECT_TRUE(failure.contains("name") && failure.contains("exception_msg")) << failed.message;

    Record null_text;
    EXPECT_STREQ(
        dez_api_expand_pipeline(nullptr, 2, nullptr, 0, true, true, nullptr, 0, &null_text), "");
    EXPECT_EQ(null_text.code, 4);
}

TEST(VersionFormatCall, AnswersAndRecord) {
    struct Case {
        const char* text;
        size_t length;
        bool valid;
    };
    const Case cases[] = {
        {"1.2.3", 5, true},    {"latest", 6, true},       {"dev", 3, true},
        {"1.2.3.4", 7, false}, {"1.x", 3, false},         {"", 0, false},
        {nullptr, 0, false},   {"2.0 and more", 3, true}, // only the given length is read
    };
    for (const Case& c : cases) {
        Record error;
        EXPECT_EQ(dez_api_is_valid_version_format(c.text, c.length, &error), c.valid)
            << (c.text ? c.text : "null");
        EXPECT_EQ(error.code, 0);
    }
    Record error;
    EXPECT_FALSE(dez_api_is_valid_version_format(nullptr, 1, &error));
    EXPECT_EQ(error.code, 4);
    EXPECT_STREQ(error.message, "basic_string::_S_construct null not valid");
}

} // namespace
} // namespace dez::api

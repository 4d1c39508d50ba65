#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include <unicode/rbbi.h>

#include "engine/language_module_data.h"
#include "engine/tokenizer_cache_file.h"
#include "engine/write_time.h"
#include "foundation/exception.h"
#include "foundation/logger.h"
#include "tests/engine/engine_fixture.h"

namespace dez::trelix {
namespace {

using namespace fixture;

const std::string notice = "Optimizing the english tokenizer file, this will take a while ...\n";

std::string bytes_of(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string rules_of(const LanguageModuleData& data) {
    return std::string(reinterpret_cast<const char*>(data.rules_data), data.rules_size);
}

std::vector<std::string> folder_listing(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class TokenizerCacheFile : public EngineFixture {
protected:
    void SetUp() override {
        EngineFixture::SetUp();
        rules = tree.root / "english.tokenizer";
        fs::copy_file(std::string(TRELIX_TEST_DATA) + "/language/english.tokenizer", rules);
        cache = rules.string() + "_cache";
    }

    // What the check prints on standard output.
    std::string check(LanguageModuleData& data, const fs::path& path) {
        testing::internal::CaptureStdout();
        try {
            check_tokenizer_cache_file(path, "english", data);
        } catch (...) {
            testing::internal::GetCapturedStdout();
            throw;
        }
        return testing::internal::GetCapturedStdout();
    }
    std::string check(LanguageModuleData& data) { return check(data, rules); }

    std::string failure(const fs::path& path) {
        LanguageModuleData data("english");
        try {
            check(data, path);
        } catch (const std::exception& e) {
            EXPECT_EQ(data.rules_data, nullptr);
            return e.what();
        }
        return "no failure";
    }

    fs::path rules;
    std::string cache;
};

TEST_F(TokenizerCacheFile, FirstUseCompilesAndWritesTheNextReads) {
    LanguageModuleData built("english.language");
    EXPECT_EQ(check(built), notice);
    ASSERT_NE(built.rules_data, nullptr);
    EXPECT_NE(built.break_iterator, nullptr);
    EXPECT_FALSE(built.owns_rules_data);
    EXPECT_EQ(bytes_of(cache), rules_of(built));
    EXPECT_TRUE(logged(level_info, "[Tokenizer] Write cached : " + cache));
    // The temporary file was renamed into place.
    EXPECT_EQ(folder_listing(tree.root),
              (std::vector<std::string>{"english.tokenizer", "english.tokenizer_cache"}));

    runtime_log().clear();
    LanguageModuleData read("english.language");
    EXPECT_EQ(check(read), "");
    EXPECT_TRUE(read.owns_rules_data);
    EXPECT_EQ(read.break_iterator, nullptr);
    EXPECT_EQ(rules_of(read), rules_of(built));
    EXPECT_TRUE(logged(level_trace, "[Tokenizer] Read cached : " + cache));
    EXPECT_TRUE(logged(level_trace,
                       "[Tokenizer] Check : \"" + rules.string() +
                           "\":" + std::to_string(write_time_in_seconds(rules.string())) +
                           " <= " + cache + ":" + std::to_string(write_time_in_seconds(cache))));
    UErrorCode status = U_ZERO_ERROR;
    icu::RuleBasedBreakIterator iterator(read.rules_data, read.rules_size, status);
    EXPECT_TRUE(U_SUCCESS(status));
}

TEST_F(TokenizerCacheFile, RulesEditedAfterTheCacheAreCompiledAgain) {
    LanguageModuleData first("english.language");
    check(first);
    age(rules.string(), 10);

    LanguageModuleData second("english.language");
    EXPECT_EQ(check(second), notice);
    EXPECT_FALSE(second.owns_rules_data);
    EXPECT_EQ(bytes_of(cache), rules_of(second));
    // The rewritten cache is current again.
    age(cache, 20);
    LanguageModuleData third("english.language");
    EXPECT_EQ(check(third), "");
    EXPECT_TRUE(third.owns_rules_data);
}

TEST_F(TokenizerCacheFile, CachesIcuRefusesAreRebuiltNeverUsed) {
    LanguageModuleData reference("english.language");
    check(reference);
    const std::string good = bytes_of(cache);

    struct Case {
        const char* name;
        std::string content;
    };
    const std::vector<Case> cases = {
        {"garbage", std::string(good.size(), 'x')},
        {"truncated", good.substr(0, good.size() - 1)},
        {"half", good.substr(0, good.size() / 2)},
        {"empty", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        tree.file("english.tokenizer_cache", c.content);
        age(cache, 10);
        LanguageModuleData data("english.language");
        EXPECT_EQ(check(data), notice);
        EXPECT_FALSE(data.owns_rules_data);
        EXPECT_EQ(rules_of(data), good);
        EXPECT_EQ(bytes_of(cache), good);
    }
}

TEST_F(TokenizerCacheFile, ARewriteReplacesTheFileInsteadOfWritingIntoIt) {
    const std::string stale(300, 'x');
    tree.file("english.tokenizer_cache", stale);
    age(cache, 10);
    // A reader that opened the old file meanwhile keeps reading all of it.
    std::ifstream reader(cache, std::ios::binary);
    LanguageModuleData data("english.language");
    EXPECT_EQ(check(data), notice);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(reader), std::istreambuf_iterator<char>()),
              stale);
    EXPECT_EQ(bytes_of(cache), rules_of(data));
}

TEST_F(TokenizerCacheFile, ACacheWithoutItsRulesStillServes) {
    LanguageModuleData built("english.language");
    check(built);
    fs::remove(rules);
    LanguageModuleData read("english.language");
    EXPECT_EQ(check(read), "");
    EXPECT_TRUE(read.owns_rules_data);
    EXPECT_EQ(rules_of(read), bytes_of(cache));
}

TEST_F(TokenizerCacheFile, RulesThatCannotBeUsed) {
    const fs::path missing = tree.root / "missing.tokenizer";
    EXPECT_EQ(failure(missing), "Missing tokenizer file: [english] " + missing.string());

    // An empty rule set is a compile error, not a language without rules.
    const fs::path empty = tree.file("empty.tokenizer");
    EXPECT_EQ(failure(empty),
              "Loading regex parser :\n - file:" + empty.string() + "\n - line:1:0");
    EXPECT_FALSE(fs::exists(empty.string() + "_cache"));

    const fs::path broken = tree.file("broken.tokenizer", "$L=[a-z;\n$L+ {200};\n");
    EXPECT_EQ(failure(broken),
              "Loading regex parser :\n - file:" + broken.string() + "\n - line:1:4");
    EXPECT_FALSE(fs::exists(broken.string() + "_cache"));
}

TEST_F(TokenizerCacheFile, ACacheThatCannotBeReadFails) {
    // A folder where the cache should be opens but cannot be read.
    fs::create_directory(cache);
    LanguageModuleData data("english.language");
    try {
        check(data);
        FAIL() << "no failure";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()), "can not read tokenizer cache file." + cache);
    }
}

TEST_F(TokenizerCacheFile, ACacheThatCannotBeWrittenOnlyWarns) {
    // The cache's name is one character beyond the file system's limit.
    const fs::path longest = tree.root / (std::string(250, 'r') + ".rule");
    fs::copy_file(rules, longest);
    const std::string long_cache = longest.string() + "_cache";
    LanguageModuleData data("english.language");
    EXPECT_EQ(check(data, longest), notice);
    EXPECT_TRUE(logged(level_warning, "[Tokenizer] Can not write cache file : " + long_cache));
    EXPECT_NE(data.break_iterator, nullptr);
    EXPECT_NE(data.rules_data, nullptr);
    // No temporary file is left behind.
    EXPECT_EQ(folder_listing(tree.root),
              (std::vector<std::string>{"english.tokenizer", std::string(250, 'r') + ".rule"}));
}

TEST_F(TokenizerCacheFile, TheCheckLineEscapesQuotesInThePath) {
    const fs::path quoted = tree.root / "say\"hi\\.tokenizer";
    fs::copy_file(rules, quoted);
    LanguageModuleData first("english.language");
    check(first, quoted);
    runtime_log().clear();
    LanguageModuleData second("english.language");
    check(second, quoted);
    const std::string expected =
        "[Tokenizer] Check : \"" + tree.root.string() + "/say\\\"hi\\\\.tokenizer\":";
    bool found = false;
    for (const auto& [level, line] : runtime_log())
        found = found || (level == level_trace && line.rfind(expected, 0) == 0);
    EXPECT_TRUE(found) << expected;
}

TEST_F(TokenizerCacheFile, TheStandaloneFormWritesOrValidates) {
    testing::internal::CaptureStdout();
    create_tokenizer_cache_file(rules.string());
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Optimizing the english.tokenizer tokenizer file, this will take a while ...\n");
    const std::string written = bytes_of(cache);
    EXPECT_FALSE(written.empty());

    runtime_log().clear();
    testing::internal::CaptureStdout();
    create_tokenizer_cache_file(rules.string());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(bytes_of(cache), written);
    EXPECT_EQ(count_logged("[Tokenizer] Write cached : " + cache), 0u);
}

TEST_F(TokenizerCacheFile, TheStandaloneFormFailsWithoutACache) {
    // Writing the cache is all this form is for: a cache it cannot write is
    // its failure (the rules themselves compile).
    const fs::path longest = tree.root / (std::string(250, 'r') + ".rule");
    fs::copy_file(rules, longest);
    testing::internal::CaptureStdout();
    try {
        create_tokenizer_cache_file(longest.string());
        ADD_FAILURE() << "no failure";
    } catch (const dez::Exception& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Can not write cache file : " + longest.string() + "_cache");
    }
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(folder_listing(tree.root),
              (std::vector<std::string>{"english.tokenizer", std::string(250, 'r') + ".rule"}));
}

} // namespace
} // namespace dez::trelix

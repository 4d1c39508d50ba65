#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <nlohmann/json.hpp>

#include "domain/filename_generator.h"
#include "domain/temp_tree.h"

namespace dez::trelix::core {
namespace {

namespace fs = std::filesystem;
using pipeline::fixture::TempTree;

class FilenameGenerator : public ::testing::Test {
protected:
    void SetUp() override {
        tree.file("first/english.hmm");
        tree.file("second/english.abbrev");
        tree.file("second/english.hmm");
        config = nlohmann::json{{"abbreviations", "english.abbrev"},
                                {"hmm", "english.hmm"},
                                {"measure", "english.measure"},
                                {"absolute", (tree.root / "second" / "english.hmm").string()},
                                {"empty", ""},
                                {"number", 5}};
        ::unsetenv("TRELIX_STRICT_CONFIG");
    }
    void TearDown() override { ::unsetenv("TRELIX_STRICT_CONFIG"); }

    TempTree tree;
    nlohmann::json config;
    std::string language = "english";
};

TEST_F(FilenameGenerator, ResolvesKeysOverTheFolders) {
    const filename_generator generator({tree.root / "first", tree.root / "second"}, config,
                                       language);
    EXPECT_EQ(generator(".abbrev", "abbreviations"), tree.root / "second" / "english.abbrev");
    EXPECT_EQ(generator(".hmm", "hmm"), tree.root / "first" / "english.hmm");
    EXPECT_EQ(generator(".hmm", "absolute"), tree.root / "second" / "english.hmm");
    EXPECT_EQ(generator(".measure", "measure"), fs::path());
    EXPECT_EQ(generator(".measure", "empty"), fs::path()) << "not the first folder itself";
    EXPECT_THROW(generator(".x", "number"), nlohmann::json::type_error);

    const filename_generator pair(tree.root / "second", tree.root / "first", config, language);
    EXPECT_EQ(pair(".hmm", "hmm"), tree.root / "second" / "english.hmm");
}

TEST_F(FilenameGenerator, MissingKeyWarnsOnlyWhenStrict) {
    const filename_generator generator({tree.root / "first"}, config, language);
    testing::internal::CaptureStderr();
    EXPECT_EQ(generator(".postagger", "postagger"), fs::path());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

    ::setenv("TRELIX_STRICT_CONFIG", "", 1);
    testing::internal::CaptureStderr();
    EXPECT_EQ(generator(".postagger", "postagger"), fs::path());
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "-- [language.config] `postagger` section missing in config file.\"\"");

    const nlohmann::json not_an_object = nlohmann::json::array();
    const filename_generator on_array({tree.root / "first"}, not_an_object, language);
    testing::internal::CaptureStderr();
    EXPECT_EQ(on_array(".hmm", "hmm"), fs::path());
    EXPECT_NE(testing::internal::GetCapturedStderr().find("`hmm`"), std::string::npos);
}

} // namespace
} // namespace dez::trelix::core

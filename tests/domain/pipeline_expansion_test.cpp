#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "domain/pipeline_error.h"
#include "domain/pipeline_expansion.h"
#include "domain/temp_tree.h"
#include "foundation/exception.h"

namespace dez::pipeline {
namespace {

namespace fs = std::filesystem;
using Paths = std::vector<fs::path>;
using Texts = std::vector<std::string>;

class Expansion : public ::testing::Test {
protected:
    fixture::TempTree tree;

    nlohmann::json run(const std::string& pipeline, const Paths& paths,
                       const std::string& language = "", bool allow_dev = false) {
        return expand2json(pipeline, paths, true, allow_dev, language);
    }

    std::string canonical(const std::string& relative) {
        return fs::canonical(tree.root / relative).string();
    }
};

TEST_F(Expansion, EmptyPipeline) {
    EXPECT_EQ(run("", {tree.root}), nlohmann::json::array());
    EXPECT_EQ(expand("", {}, true, true, ""), "[]");
    EXPECT_EQ(run(",,", {tree.root}), nlohmann::json::array()) << "empty components give no entry";
}

TEST_F(Expansion, EntryShapes) {
    tree.file("data/english.language");
    tree.file("data/entity.dom");
    const nlohmann::json got =
        run(R"(english,entity({"annotation_filter":"Person"}),tagger@2.app,missing,norwegian)",
            {tree.root / "data"});
    const nlohmann::json expected = {
        {{"filename", canonical("data/english.language")},
         {"options", "{}"},
         {"original", "english"},
         {"type", "language"}},
        {{"filename", canonical("data/entity.dom")},
         {"options", R"({"annotation_filter":"Person"})"},
         {"original", "entity"},
         {"type", "domain"}},
        {{"name", "tagger@2"}, {"options", "{}"}, {"original", "tagger@2.app"}, {"type", "app"}},
        {{"exception_msg", "Domain component not found."},
         {"exception_type", "not_found"},
         {"options", "{}"},
         {"original", "missing"},
         {"type", "domain"}},
        {{"exception_msg", "Language component not found."},
         {"exception_type", "not_found"},
         {"options", "{}"},
         {"original", "norwegian"},
         {"type", "language"}},
    };
    EXPECT_EQ(got, expected);
}

TEST_F(Expansion, LeadingLanguageBecomesThePrefix) {
    tree.file("data/english.language");
    tree.file("data/german.language");
    tree.file("data/entity.dom");
    tree.file("data/english-entity.dom");
    tree.file("data/german-entity.dom");

    nlohmann::json got = run("english,entity", {tree.root / "data"});
    EXPECT_EQ(got[1]["filename"], canonical("data/english-entity.dom"));

    got = run("entity,english,entity", {tree.root / "data"});
    EXPECT_EQ(got[2]["filename"], canonical("data/entity.dom")) << "a later language sets nothing";

    got = run("german,english,entity", {tree.root / "data"});
    EXPECT_EQ(got[2]["filename"], canonical("data/german-entity.dom"));

    // A language file named by its path sets no prefix.
    got = run((tree.root / "data" / "english.language").string() + ",entity", {tree.root / "data"});
    EXPECT_EQ(got[1]["filename"], canonical("data/entity.dom"));

    // The caller's language is the starting prefix.
    got = run("entity", {tree.root / "data"}, "german");
    EXPECT_EQ(got[0]["filename"], canonical("data/german-entity.dom"));
}

TEST_F(Expansion, NoFoldersFindsOnlyPathsAndApps) {
    const fs::path dom = tree.file("x/entity.dom");
    const nlohmann::json got = run("entity,tagger.app," + dom.string(), {});
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0]["exception_type"], "not_found");
    EXPECT_EQ(got[1]["name"], "tagger");
    EXPECT_EQ(got[2]["filename"], fs::canonical(dom).string());
}

TEST_F(Expansion, ExactPassCoversAllFoldersBeforeTheLatestPass) {
    tree.file("first/entity@5.dom");
    tree.file("second/entity.dom");
    nlohmann::json got = run("entity", {tree.root / "first", tree.root / "second"});
    EXPECT_EQ(got[0]["filename"], canonical("second/entity.dom"));

    // An explicit version is looked up once, exactly.
    got = run("entity@5", {tree.root / "first", tree.root / "second"});
    EXPECT_EQ(got[0]["filename"], canonical("first/entity@5.dom"));
    got = run("entity@latest", {tree.root / "first", tree.root / "second"});
    EXPECT_EQ(got[0]["filename"], canonical("first/entity@5.dom"));
}

TEST_F(Expansion, LatestPassStopsAtTheFirstFolderWithAMatch) {
    tree.file("first/entity@1.dom");
    tree.file("second/entity@9.dom");
    const nlohmann::json got = run("entity", {tree.root / "first", tree.root / "second"});
    EXPECT_EQ(got[0]["filename"], canonical("first/entity@1.dom"));
}

TEST_F(Expansion, DevFilesNeedAllowDev) {
    tree.file("data/entity@1.dom");
    tree.file("data/entity@dev.dom");
    EXPECT_EQ(run("entity", {tree.root / "data"})[0]["filename"], canonical("data/entity@1.dom"));
    EXPECT_EQ(run("entity", {tree.root / "data"}, "", true)[0]["filename"],
              canonical("data/entity@dev.dom"));
    EXPECT_EQ(run("entity@dev", {tree.root / "data"})[0]["filename"],
              canonical("data/entity@dev.dom"))
        << "an explicit dev is an exact name";
}

TEST_F(Expansion, SourceFolderEntryHasNoOriginal) {
    tree.file("src/rules.tlx");
    const nlohmann::json got = run((tree.root / "src").string() + "({\"x\":\"1\"})", {});
    EXPECT_EQ(got, (nlohmann::json{{{"filename", canonical("src")},
                                    {"options", R"({"x":"1"})"},
                                    {"type", "domain"}}}));
}

TEST_F(Expansion, DomainNamedLikeALanguageKeepsItsKind) {
    tree.file("data/english.dom");
    tree.file("data/english.language");
    const nlohmann::json got = run("english.dom,english", {tree.root / "data"});
    EXPECT_EQ(got[0]["type"], "domain");
    EXPECT_EQ(got[0]["filename"], canonical("data/english.dom"));
    EXPECT_EQ(got[1]["type"], "language");
    EXPECT_EQ(got[1]["filename"], canonical("data/english.language"));
}

TEST_F(Expansion, UnknownExtensionIsSearchedWithBothExtensions) {
    tree.file("data/tagger.xyz.dom");
    const nlohmann::json got = run("tagger.xyz", {tree.root / "data"});
    EXPECT_EQ(got[0]["filename"], canonical("data/tagger.xyz.dom"));
}

TEST_F(Expansion, RejectedComponentEndsTheWholeExpansion) {
    const fs::path file = tree.file("x/entity.dom");
    EXPECT_THROW(expand2json("a," + file.string(), Paths{}, false, false, ""), pipeline_error);
    EXPECT_THROW(expand2json("a,b)", Paths{}, true, false, ""), pipeline_error);
}

TEST_F(Expansion, UnlistableDataFolderIsPassedOver) {
    if (!fixture::permissions_apply())
        GTEST_SKIP() << "running as root: permissions are not enforced";
    tree.file("locked/entity@1.dom");
    tree.file("open/entity@2.dom");
    tree.lock(tree.root / "locked");
    const nlohmann::json got = run("entity", {tree.root / "locked", tree.root / "open"});
    EXPECT_EQ(got[0]["filename"], canonical("open/entity@2.dom"));
}

TEST_F(Expansion, BareNameWithoutFileIsOnlyNotFound) {
    // The language loader reads entry 0 of a bare name: "not found" lets it go on
    // with its own file search and the generic fallback; a refusal does not.
    const nlohmann::json none = run("albanian", {tree.root});
    ASSERT_EQ(none.size(), 1u);
    EXPECT_TRUE(none[0].contains("exception_msg"));
    EXPECT_TRUE(is_not_found(none[0]));
    EXPECT_TRUE(is_not_found(run("klingon", {tree.root})[0]));

    const fs::path app = tree.file("tool.app");
    EXPECT_FALSE(is_not_found(run(app.string(), {})[0]));
    tree.file("data/albanian.language");
    EXPECT_FALSE(is_not_found(run("albanian", {tree.root / "data"})[0]));
    EXPECT_FALSE(is_not_found(nlohmann::json()));
}

TEST(ConvertPaths, ExistingFoldersCanonicalWithTheProductFolder) {
    fixture::TempTree tree;
    tree.folder("a");
    tree.folder("lang/morfex/trelix");
    tree.folder("plain/morfex");
    const std::string morfex = (tree.root / "lang" / "morfex").string();

    EXPECT_EQ(convert2paths({(tree.root / "a" / ".." / "a").string(),
                             (tree.root / "missing").string(), morfex}),
              (Paths{fs::canonical(tree.root / "a"), fs::canonical(morfex), morfex + "/trelix"}));
    // A product folder already listed keeps the list as it is.
    EXPECT_EQ(convert2paths({morfex, morfex + "/trelix"}),
              (Paths{fs::canonical(morfex), fs::canonical(morfex + "/trelix")}));
    // No "trelix" sub-folder: nothing added.
    EXPECT_EQ(convert2paths({(tree.root / "plain" / "morfex").string()}),
              (Paths{fs::canonical(tree.root / "plain" / "morfex")}));
    EXPECT_EQ(convert2paths({}), Paths{});
}

TEST(ConvertPaths, TextFoldersReachTheProductFolder) {
    fixture::TempTree tree;
    tree.file("lang/morfex/trelix/entity.dom");
    const nlohmann::json got =
        expand2json("entity", Texts{(tree.root / "lang" / "morfex").string()}, true, true, "");
    EXPECT_EQ(got[0]["filename"],
              fs::canonical(tree.root / "lang/morfex/trelix/entity.dom").string());
}

nlohmann::json failure_of(const std::string& pipeline, const Texts& folders,
                          bool allow_file_access) {
    try {
        expand(pipeline, folders, allow_file_access, false, "");
    } catch (const dez::JSONThrowException& e) {
        return nlohmann::json::parse(e.what());
    }
    ADD_FAILURE() << "no failure for " << pipeline;
    return nullptr;
}

TEST(Expand, CompactTextAndFailureObjects) {
    fixture::TempTree tree;
    tree.file("data/entity.dom");
    const std::string text = expand("entity", {(tree.root / "data").string()}, true, false, "");
    EXPECT_EQ(text,
              "[{\"filename\":" +
                  nlohmann::json(fs::canonical(tree.root / "data/entity.dom").string()).dump() +
                  ",\"options\":\"{}\",\"original\":\"entity\",\"type\":\"domain\"}]");

    const fs::path file = tree.file("x/entity.dom");
    EXPECT_EQ(failure_of(file.string(), {}, false),
              (nlohmann::json{{"exception_msg", "Does not have permission for file access."},
                              {"exception_type", "pipeline_error"},
                              {"name", file.string()}}));
    EXPECT_EQ(failure_of("a)", {}, true)["exception_type"], "pipeline_error");
}

TEST(Expand, OtherFailuresAreNamedUnknown) {
    if (!fixture::permissions_apply())
        GTEST_SKIP() << "running as root: permissions are not enforced";
    fixture::TempTree tree;
    // A component naming a folder that cannot be listed.
    const fs::path folder = tree.folder("src");
    tree.lock(folder);
    const nlohmann::json failure = failure_of(folder.string(), {}, true);
    EXPECT_EQ(failure["exception_type"], "std");
    EXPECT_EQ(failure["name"], "unknown");
}

TEST(Expand, InvalidUtf8NeverBreaksThePrinting) {
    fixture::TempTree tree;
    const std::string bad = "ent\xff"
                            "ity";
    // In a result: the bytes are dropped.
    const nlohmann::json result = nlohmann::json::parse(expand(bad, {}, true, false, ""));
    EXPECT_EQ(result[0]["original"], "entity");

    // In a failure: printed all the same, so the host gets the failure object.
    const fs::path file = tree.file(bad + ".dom");
    const nlohmann::json failure = failure_of(file.string(), {}, false);
    EXPECT_EQ(failure["exception_type"], "pipeline_error");
    EXPECT_EQ(failure["exception_msg"], "Does not have permission for file access.");
    EXPECT_NE(failure["name"].get<std::string>().find("ent"), std::string::npos);
}

TEST(Expand, TestExpandedPipelineIsStrict) {
    EXPECT_TRUE(test_expanded_pipeline(nlohmann::json::parse(R"([{"a":"b"},"c"])")));
    EXPECT_TRUE(test_expanded_pipeline(nullptr));
    EXPECT_TRUE(test_expanded_pipeline(nlohmann::json::parse(R"({"a":{"b":1}})")));
    nlohmann::json bad = nlohmann::json::array({nlohmann::json{{"original", "ent\xff"}}});
    EXPECT_THROW(test_expanded_pipeline(bad), nlohmann::json::type_error);
    EXPECT_THROW(test_expanded_pipeline(nlohmann::json("x\xfe")), nlohmann::json::type_error);
}

} // namespace
} // namespace dez::pipeline

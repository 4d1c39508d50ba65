#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "domain/component_splitter.h"
#include "domain/pipeline_error.h"
#include "domain/temp_tree.h"

namespace dez::pipeline {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

Component derived(const std::string& original) {
    Component c;
    c.original = original;
    c.options = "{}";
    derive_fields(c);
    return c;
}

TEST(DeriveFields, KindNameVersionAndFolder) {
    struct Case {
        const char* original;
        int32_t type;
        const char* name;
        const char* version;
        const char* basename;
        const char* directory;
    };
    const std::vector<Case> cases = {
        {"entity", component_none, "entity", "", "entity", ""},
        {"entity.dom", component_domain, "entity", "", "entity", ""},
        {"entity@1.2.dom", component_domain, "entity", "1.2", "entity", ""},
        {"entity@latest", component_none, "entity", "latest", "entity", ""},
        {"entity@dev.language", component_language, "entity", "dev", "entity", ""},
        {"a@b@c", component_none, "a", "b", "a", ""},
        {"data/entity", component_none, "data/entity", "", "entity", "data"},
        {"dir-x/entity", component_none, "dir-x/entity", "", "dir-x/entity", ""},
        {"english-entity", component_none, "english-entity", "", "english-entity", ""},
        {"tagger@2.app", component_app, "tagger", "2", "", ""},
        {"tagger.xyz", component_none, "tagger.xyz", "", "tagger.xyz", ""},
        // Language names without extension become languages; codes do not.
        {"english", component_language, "english", "", "english", ""},
        {"data/english", component_language, "data/english", "", "english", "data"},
        {"en", component_none, "en", "", "en", ""},
        // An explicit extension is the author's choice of kind.
        {"english.dom", component_domain, "english", "", "english", ""},
        {"english.app", component_app, "english", "", "", ""},
        {"english@2.dom", component_domain, "english", "2", "english", ""},
    };
    for (const Case& c : cases) {
        const Component got = derived(c.original);
        EXPECT_EQ(got.type, c.type) << c.original;
        EXPECT_EQ(got.name, c.name) << c.original;
        EXPECT_EQ(got.version, c.version) << c.original;
        EXPECT_EQ(got.basename, c.basename) << c.original;
        EXPECT_EQ(got.directory, c.directory) << c.original;
    }
    EXPECT_EQ(derived("entity").extensions, (Strings{".language", ".dom"}));
    EXPECT_EQ(derived("english").extensions, (Strings{".language"}));
    EXPECT_EQ(derived("english.dom").extensions, (Strings{".dom"}));
    EXPECT_EQ(derived("x.app").extensions, (Strings{".app"}));
}

TEST(CollectFiles, CountsOnlyDirectRegularFilesWithTheExtension) {
    fixture::TempTree tree;
    tree.file("src/a.tlx");
    tree.file("src/b.tlx");
    tree.file("src/c.txt");
    tree.file("src/sub/d.tlx");
    tree.folder("src/e.tlx");
    size_t count = 1;
    collect_files_with_extension(tree.root / "src", ".tlx", count);
    EXPECT_EQ(count, 3u);
    count = 0;
    collect_files_with_extension(tree.root / "src", "", count);
    EXPECT_EQ(count, 3u);
    EXPECT_THROW(collect_files_with_extension(tree.root / "missing", ".tlx", count),
                 fs::filesystem_error);
}

class ExistingPaths : public ::testing::Test {
protected:
    fixture::TempTree tree;
    ComponentSplitter splitter{{}, true, false, ""};

    bool check(const fs::path& path, nlohmann::json& entry) {
        return splitter.check_existing_paths(derived(path.string()), entry);
    }
};

TEST_F(ExistingPaths, FilesOfEachKind) {
    const fs::path dom = tree.file("d/entity.dom");
    const fs::path language = tree.file("d/english.language");
    const fs::path app = tree.file("d/tagger.app");

    nlohmann::json entry = nlohmann::json::object();
    ASSERT_TRUE(check(dom, entry));
    EXPECT_EQ(entry, (nlohmann::json{{"original", dom.string()},
                                     {"options", "{}"},
                                     {"type", "domain"},
                                     {"filename", fs::canonical(dom).string()}}));

    entry = nlohmann::json::object();
    ASSERT_TRUE(check(language, entry));
    EXPECT_EQ(entry["type"], "language");
    EXPECT_EQ(entry["filename"], fs::canonical(language).string());

    entry = nlohmann::json::object();
    ASSERT_TRUE(check(app, entry));
    EXPECT_EQ(entry["exception_type"], "not_supported");
    EXPECT_EQ(entry["exception_msg"], "Applications can not be filename.");
    EXPECT_EQ(entry["type"], "app");
    EXPECT_FALSE(entry.contains("filename"));

    entry = nlohmann::json::object();
    EXPECT_FALSE(check(tree.root / "d" / "missing.dom", entry));
    EXPECT_TRUE(entry.empty());
}

TEST_F(ExistingPaths, UnknownExtensionIsRefused) {
    const fs::path file = tree.file("tagger.xyz");
    nlohmann::json entry = nlohmann::json::object();
    try {
        check(file, entry);
        FAIL() << "no error";
    } catch (const pipeline_error& e) {
        EXPECT_STREQ(e.what(),
                     "Unkown Extensions, use one of the following [ .language, .dom, .app ]");
        EXPECT_EQ(e.component.original, file.string());
    }
}

TEST_F(ExistingPaths, SourceFolders) {
    tree.file("src/rules.tlx");
    tree.file("nested/sub/rules.tlx");
    nlohmann::json entry = nlohmann::json::object();
    ASSERT_TRUE(check(tree.root / "src", entry));
    EXPECT_EQ(entry, (nlohmann::json{{"type", "domain"},
                                     {"options", "{}"},
                                     {"filename", fs::canonical(tree.root / "src").string()}}));

    entry = nlohmann::json::object();
    EXPECT_FALSE(check(tree.root / "nested", entry)) << "sub-folders are not counted";
    EXPECT_TRUE(entry.empty());
}

TEST_F(ExistingPaths, NoFileAccessRefusesAnythingThatExists) {
    splitter.allow_file_access = false;
    for (const fs::path& path : {tree.file("entity.dom"), tree.folder("src")}) {
        nlohmann::json entry = nlohmann::json::object();
        try {
            check(path, entry);
            ADD_FAILURE() << "no error for " << path;
        } catch (const pipeline_error& e) {
            EXPECT_STREQ(e.what(), "Does not have permission for file access.");
        }
    }
    nlohmann::json entry = nlohmann::json::object();
    EXPECT_FALSE(check(tree.root / "missing.dom", entry));
}

class Identifier : public ::testing::Test {
protected:
    fixture::TempTree tree;
    ComponentSplitter splitter{{}, true, false, ""};

    // The file chosen in folder for original (version forced when given), or "".
    std::string find(const std::string& original, const fs::path& folder,
                     const char* version = nullptr) {
        Component c = derived(original);
        if (version != nullptr)
            c.version = version;
        const Component before = c;
        if (!splitter.add_identifier(c, folder)) {
            EXPECT_EQ(c.filename, before.filename);
            EXPECT_EQ(c.version, before.version);
            EXPECT_EQ(c.type, before.type);
            return "";
        }
        return fs::path(c.filename).filename().string();
    }
};

TEST_F(Identifier, ExactSearchProbesLanguagePrefixFirstThenExtensions) {
    const fs::path folder = tree.folder("data");
    splitter.language = "english";
    tree.file("data/entity.dom");
    EXPECT_EQ(find("entity", folder), "entity.dom");
    tree.file("data/english-entity.dom");
    EXPECT_EQ(find("entity", folder), "english-entity.dom");
    tree.file("data/entity.language");
    EXPECT_EQ(find("entity", folder), "entity.language");
    tree.file("data/english-entity.language");
    EXPECT_EQ(find("entity", folder), "english-entity.language");

    splitter.language.clear();
    EXPECT_EQ(find("entity", folder), "entity.language");
    EXPECT_EQ(find("entity@2", folder), "");
    tree.file("data/entity@2.dom");
    EXPECT_EQ(find("entity@2", folder), "entity@2.dom");
}

TEST_F(Identifier, ExactSearchSetsTheKindOfAnUntypedName) {
    tree.file("data/entity.dom");
    Component c = derived("entity");
    ASSERT_TRUE(splitter.add_identifier(c, tree.root / "data"));
    EXPECT_EQ(c.type, component_domain);
    // Candidates are text: a trailing separator doubles, which the file system accepts.
    EXPECT_EQ(c.filename, (tree.root / "data").string() + "/entity.dom");
    c = derived("entity");
    ASSERT_TRUE(splitter.add_identifier(c, (tree.root / "data").string() + "/"));
    EXPECT_EQ(c.filename, (tree.root / "data").string() + "//entity.dom");
}

TEST_F(Identifier, LatestSearchTakesTheHighestVersion) {
    const fs::path folder = tree.folder("data");
    for (const char* name : {"entity@1.2.dom", "entity@1.10.dom", "entity@dev.dom",
                             "entity@beta.dom", "other.dom", "entity@9.txt"})
        tree.file("data/" + std::string(name));
    EXPECT_EQ(find("entity", folder, "latest"), "entity@1.10.dom");

    Component c = derived("entity");
    c.version = "latest";
    ASSERT_TRUE(splitter.add_identifier(c, folder));
    EXPECT_EQ(c.version, "1.10");
    EXPECT_EQ(c.type, component_domain);

    splitter.allow_dev = true;
    EXPECT_EQ(find("entity", folder, "latest"), "entity@dev.dom");
}

TEST_F(Identifier, LatestSearchEdgeVersions) {
    struct Case {
        std::vector<const char*> files;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {{"entity@0.0.0.dom"}, "entity@0.0.0.dom"}, // equal to the start still wins
        {{"entity@beta.dom"}, ""},                  // no parsable version
        {{"entity@dev.dom"}, ""},                   // dev needs allow_dev
        {{"entity.dom", "entity@2.dom"}, "entity@2.dom"},
        {{"entity@2.dom", "entity@2.0.dom"}, "entity@2.dom"}, // equal: the later name
        {{"other-entity@3.dom"}, ""},
        {{"entity.language", "entity.dom"}, "entity.language"},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        const std::string folder = "case" + std::to_string(i);
        tree.folder(folder);
        for (const char* file : cases[i].files)
            tree.file(folder + "/" + file);
        EXPECT_EQ(find("entity", tree.root / folder, "latest"), cases[i].expected) << i;
    }
}

TEST_F(Identifier, LatestSearchHonoursLanguageAndDirectory) {
    tree.file("data/other-entity@3.dom");
    tree.file("data/entity@2.dom");
    EXPECT_EQ(find("entity", tree.root / "data", "latest"), "entity@2.dom");
    splitter.language = "other";
    EXPECT_EQ(find("entity", tree.root / "data", "latest"), "other-entity@3.dom");

    splitter.language.clear();
    tree.file("data/sub/entity@4.dom");
    EXPECT_EQ(find("sub/entity", tree.root / "data", "latest"), "entity@4.dom");
    EXPECT_EQ(find("none/entity", tree.root / "data", "latest"), "");
}

TEST_F(Identifier, NamesAreLiteralInTheLatestSearch) {
    // Folder and names full of expression syntax: neither an invalid
    // expression nor a match by accident.
    const fs::path folder = tree.folder("a+b(c[d.e");
    tree.file("a+b(c[d.e/en.ity@1.dom");
    tree.file("a+b(c[d.e/enxity@2.dom");
    tree.file("a+b(c[d.e/c++@1.dom");
    EXPECT_EQ(find("en.ity", folder, "latest"), "en.ity@1.dom");
    EXPECT_EQ(find("c++", folder, "latest"), "c++@1.dom");
    splitter.language = "x(y";
    tree.file("a+b(c[d.e/x(y-c++@5.dom");
    EXPECT_EQ(find("c++", folder, "latest"), "x(y-c++@5.dom");
}

TEST_F(Identifier, UnlistableFolderHoldsNothing) {
    if (!fixture::permissions_apply())
        GTEST_SKIP() << "running as root: permissions are not enforced";
    const fs::path folder = tree.folder("locked");
    tree.file("locked/entity@1.dom");
    tree.lock(folder);
    EXPECT_EQ(find("entity", folder, "latest"), "");
    EXPECT_EQ(find("entity", folder), "");
}

TEST_F(Identifier, EmptyNameFindsNothing) {
    const fs::path folder = tree.folder("data");
    tree.file("data/.dom");
    tree.file("data/@2.dom");
    EXPECT_EQ(find("@", folder), "");
    EXPECT_EQ(find("@2", folder), "");
    EXPECT_EQ(find("@", folder, "latest"), "");
}

TEST_F(Identifier, MissingFolderHoldsNothing) {
    EXPECT_EQ(find("entity", tree.root / "missing", "latest"), "");
    EXPECT_EQ(find("entity", tree.root / "missing"), "");
    const fs::path file = tree.file("plain.dom");
    EXPECT_EQ(find("entity", file, "latest"), "");
}

} // namespace
} // namespace dez::pipeline

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "domain/temp_tree.h"
#include "domain/versioned_filename.h"

namespace dez::trelix::core {
namespace {

namespace fs = std::filesystem;
using Paths = std::vector<fs::path>;
using pipeline::fixture::TempTree;

TEST(GenerateFilename, ExistingNameIsReturnedUnchanged) {
    TempTree tree;
    const fs::path file = tree.file("here/english.language");
    tree.file("data/english.language");
    EXPECT_EQ(generate_filename(file.string(), {tree.root / "data"}), file);
    EXPECT_EQ(generate_filename((tree.root / "data").string(), {}), tree.root / "data");
}

TEST(GenerateFilename, FirstFolderHoldingTheName) {
    TempTree tree;
    tree.folder("one");
    tree.file("two/english.morph");
    tree.file("three/english.morph");
    const Paths folders = {tree.root / "one", tree.root / "two", tree.root / "three"};
    EXPECT_EQ(generate_filename("english.morph", folders), tree.root / "two" / "english.morph");
    EXPECT_EQ(generate_filename("german.morph", folders), fs::path());
    EXPECT_EQ(generate_filename("english.morph", {}), fs::path());
}

TEST(GenerateFilename, LatestVersionIsTheActualFile) {
    struct Case {
        std::vector<std::string> files; // "folder/name"
        const char* expected;           // "folder/name" or "" for nothing
    };
    const std::vector<Case> cases = {
        // Numeric comparison.
        {{"a/english@1.2.3.language", "b/english@1.10.0.language"}, "b/english@1.10.0.language"},
        {{"a/english@1.10.0.language", "b/english@1.2.3.language"}, "a/english@1.10.0.language"},
        // The file found is returned, whatever its version prints as.
        {{"a/english@1.2.language"}, "a/english@1.2.language"},
        {{"a/english@latest.language"}, "a/english@latest.language"},
        {{"a/english@dev.language"}, "a/english@dev.language"},
        {{"a/english@beta.language"}, ""},
        {{"a/english.language"}, ""},
        // Equal versions: the later folder; in one folder the later name.
        {{"a/english@2.language", "b/english@2.language"}, "b/english@2.language"},
        {{"a/english@2.0.language", "a/english@2.language"}, "a/english@2.language"},
        // Only the base followed by "@" is a candidate.
        {{"a/englishman@9.language", "a/old-english@9.language", "a/english@1.language"},
         "a/english@1.language"},
        {{"a/english@3.morph"}, ""},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        TempTree tree;
        tree.folder("a");
        tree.folder("b");
        for (const std::string& file : cases[i].files)
            tree.file(file);
        const fs::path got =
            generate_filename("english@latest.language", {tree.root / "a", tree.root / "b"});
        const fs::path expected =
            std::string(cases[i].expected).empty() ? fs::path() : tree.root / cases[i].expected;
        EXPECT_EQ(got, expected) << "case " << i;
    }
}

TEST(GenerateFilename, ShortBaseDoesNotTakeLongerNames) {
    TempTree tree;
    tree.file("data/english@1.2.language");
    EXPECT_EQ(generate_filename("en@latest.language", {tree.root / "data"}), fs::path());
    // A folder whose own path holds the base makes no file a candidate.
    tree.file("english/other@1.language");
    tree.file("english/notes@2.language");
    EXPECT_EQ(generate_filename("english@latest.language", {tree.root / "english"}), fs::path());
}

TEST(GenerateFilename, LatestKeepsTheNamesDirectory) {
    TempTree tree;
    tree.file("data/english@9.language");
    tree.file("data/sub/english@2.language");
    EXPECT_EQ(generate_filename("sub/english@latest.language", {tree.root / "data"}),
              tree.root / "data" / "sub" / "english@2.language");
}

TEST(GenerateFilename, FoldersThatCannotBeListedArePassedOver) {
    TempTree tree;
    const fs::path not_a_folder = tree.file("plain.txt");
    tree.file("b/english@1.language");
    EXPECT_EQ(generate_filename("english@latest.language",
                                {not_a_folder, tree.root / "missing", tree.root / "b"}),
              tree.root / "b" / "english@1.language");

    if (!pipeline::fixture::permissions_apply())
        GTEST_SKIP() << "running as root: permissions are not enforced";
    tree.file("locked/english@5.language");
    tree.lock(tree.root / "locked");
    EXPECT_EQ(generate_filename("english@latest.language", {tree.root / "locked", tree.root / "b"}),
              tree.root / "b" / "english@1.language");
    EXPECT_EQ(generate_filename("english@1.language", {tree.root / "locked", tree.root / "b"}),
              tree.root / "b" / "english@1.language");
}

} // namespace
} // namespace dez::trelix::core

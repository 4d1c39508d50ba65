#include <gtest/gtest.h>

#include <dlfcn.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/data_paths.h"
#include "engine/sdk_path.h"
#include "foundation/exception.h"
#include "foundation/logger.h"
#include "tests/engine/engine_fixture.h"

namespace dez::trelix {
namespace {

using namespace fixture;

class DataPaths : public EngineFixture {
protected:
    // fill_in_sdk_paths on options made from `value`; the options afterwards.
    std::shared_ptr<dez::IOptions> fill(const nlohmann::json& value) {
        auto options = options_of(value);
        fill_in_sdk_paths(options);
        return options;
    }

    static std::string failure(const std::shared_ptr<dez::IOptions>& options) {
        return failure_of([&] { fill_in_sdk_paths(options); });
    }
};

TEST_F(DataPaths, RootFromTheOptionStays) {
    const std::string root = tree.root.string();
    auto options = options_of({{"root_path", root}, {"morfex", ""}});
    const std::string text = options->str();
    fill_in_sdk_paths(options);
    EXPECT_EQ(options->get("root_path"), root);
    EXPECT_TRUE(logged(level_trace, "Engine Options check_sdk_filesystem [" + text + "]"));
    EXPECT_TRUE(logged(level_info, "TRELIX_ROOT : [" + root + "]"));
    EXPECT_EQ(count_logged("No root_path option, looking for TRELIX_ROOT ... "), 0u);
}

TEST_F(DataPaths, RootFromTheEnvironment) {
    const std::string root = tree.folder("r").string();
    EnvGuard variable("TRELIX_ROOT", root);
    auto options = fill({{"root_path", ""}, {"morfex", ""}});
    EXPECT_EQ(options->get("root_path"), root);
    EXPECT_TRUE(logged(level_trace, "No root_path option, looking for TRELIX_ROOT ... "));
    EXPECT_EQ(count_logged("Still no root_path option, looking for ./tlx... "), 0u);
}

TEST_F(DataPaths, RootFromTheLibraryLocation) {
    Dl_info library{};
    ASSERT_NE(dladdr(reinterpret_cast<void*>(&fill_in_sdk_paths), &library), 0);
    const fs::path expected =
        fs::canonical(fs::path(library.dli_fname).parent_path()).parent_path();

    auto options = fill({{"morfex", ""}});
    EXPECT_EQ(options->get("root_path"), expected.string());
    EXPECT_TRUE(logged(level_debug, "Using:" + expected.string()));
    EXPECT_EQ(count_logged("Still no root_path option, looking for ./tlx... "), 0u);
}

TEST_F(DataPaths, EmptyRootVariableLeadsToTheExecutable) {
    EnvGuard variable("TRELIX_ROOT", "");
    const fs::path executable = fs::read_symlink("/proc/self/exe");
    const fs::path expected = dez::system::path::root_of_executable(executable);
    auto options = fill({{"morfex", ""}});
    EXPECT_EQ(options->get("root_path"), expected.string());
    EXPECT_TRUE(logged(level_trace, "Still no root_path option, looking for ./tlx... "));
}

TEST_F(DataPaths, MissingRootFails) {
    const std::string missing = (tree.root / "missing").string();
    EXPECT_EQ(failure(options_of({{"root_path", missing}})),
              "qvr root path option is not valid path [" + missing + "]");
    EnvGuard variable("TRELIX_ROOT", missing);
    EXPECT_EQ(failure(options_of({{"morfex", ""}})),
              "qvr root path option is not valid path [" + missing + "]");
}

TEST_F(DataPaths, DataFoldersFromTheOptionKeepTheirOrder) {
    const std::string a = tree.folder("a").string();
    const std::string b = tree.folder("b").string();
    auto options = fill({{"root_path", tree.root.string()}, {"morfex", b + ":" + a}});
    EXPECT_EQ(options->get("morfex"), b + ":" + a);
    EXPECT_TRUE(logged(level_info, "MORFEX_ROOT : [" + b + ":" + a + "]"));
    EXPECT_TRUE(logged(level_trace, " MORFEX_PATH : [" + b + "]"));
    EXPECT_TRUE(logged(level_trace, " MORFEX_PATH : [" + a + "]"));
    EXPECT_EQ(count_logged("The 'morfex' option not set/found using default [" + b + ":" + a + "]"),
              0u);
}

TEST_F(DataPaths, InvalidDataFoldersFail) {
    const std::string a = tree.folder("a").string();
    const std::string missing = (tree.root / "missing").string();
    struct Case {
        std::string morfex;
        std::string bad;
    };
    for (const Case& c : std::vector<Case>{
             {a + ":", ""}, {":" + a, ""}, {a + ":" + missing, missing}, {missing, missing}}) {
        SCOPED_TRACE(c.morfex);
        EXPECT_EQ(failure(options_of({{"root_path", tree.root.string()}, {"morfex", c.morfex}})),
                  "morfex data path is not valid [" + c.bad + "]");
    }
}

TEST_F(DataPaths, DefaultDataFolders) {
    const fs::path root = tree.folder("r");
    const std::string line_prefix = "The 'morfex' option not set/found using default [";
    const std::string warning =
        "Could not find morfex in default location [" + (root / "morfex").string() + "]";
    {
        SCOPED_TRACE("nothing anywhere");
        auto options = fill({{"root_path", root.string()}});
        EXPECT_FALSE(options->has("morfex"));
        EXPECT_TRUE(logged(level_warning, warning));
        EXPECT_TRUE(logged(level_trace, line_prefix + "]"));
    }
    {
        SCOPED_TRACE("beside the root");
        const fs::path beside = tree.folder("morfex");
        runtime_log().clear();
        auto options = fill({{"root_path", root.string()}});
        EXPECT_EQ(options->get("morfex"), (root / ".." / "morfex").string());
        EXPECT_TRUE(logged(level_warning, warning));
    }
    {
        SCOPED_TRACE("under the root wins");
        const fs::path under = tree.folder("r/morfex");
        runtime_log().clear();
        auto options = fill({{"root_path", root.string()}});
        EXPECT_EQ(options->get("morfex"), under.string());
        EXPECT_TRUE(logged(level_trace, line_prefix + under.string() + "]"));
        EXPECT_EQ(count_logged(warning), 0u);
    }
    {
        SCOPED_TRACE("the environment wins");
        const fs::path chosen = tree.folder("elsewhere");
        EnvGuard variable("TRELIX_MORFEX", chosen.string());
        auto options = fill({{"root_path", root.string()}});
        EXPECT_EQ(options->get("morfex"), chosen.string());
        EnvGuard empty("TRELIX_MORFEX", "");
        EXPECT_EQ(fill({{"root_path", root.string()}})->get("morfex"), "");
    }
    {
        SCOPED_TRACE("get_default_morfex");
        EnvGuard variable("TRELIX_ROOT", root.string());
        EXPECT_EQ(get_default_morfex(), (root / "morfex").string());
    }
}

TEST_F(DataPaths, NormalizePathsMakesEveryEntryCanonical) {
    const fs::path b = tree.folder("b");
    tree.folder("a");
    fs::create_directory_symlink(b, tree.root / "link");
    std::vector<std::string> paths = {(tree.root / "a" / ".." / "b").string(),
                                      (tree.root / "link").string()};
    normalize_paths(paths);
    EXPECT_EQ(paths, (std::vector<std::string>{b.string(), b.string()}));

    std::vector<std::string> missing = {(tree.root / "missing").string()};
    EXPECT_THROW(normalize_paths(missing), fs::filesystem_error);
}

TEST(RelativeToPaths, NamesALanguageFileByItsFolder) {
    struct Case {
        std::string file;
        std::vector<fs::path> folders;
        std::string name;
    };
    const std::vector<Case> cases = {
        {"/d/en/english.language", {"/d/en"}, "english"},
        {"/d/en/english.language", {"/d"}, "en/english"},
        {"/d/en/english.language", {"/x", "/d/en", "/d"}, "english"},
        {"/d/e.language", {"/d"}, "e"},
        {"/d/.language", {"/d"}, "/d/.language"},
        {"/d/english.json", {"/d"}, "/d/english.json"},
        {"english", {"/d"}, "english"},
        // Only whole folder components count.
        {"/dx/en.language", {"/d"}, "/dx/en.language"},
        {"/dx/en.language", {"/d", "/dx"}, "en"},
        {"/en.language", {"/"}, "en"},
        {"/d/en.language", {"/d/"}, "en"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        EXPECT_EQ(relative_to_paths(c.file, c.folders), c.name);
    }
}

TEST(SdkPath, RootOfAnExecutable) {
    TempTree tree;
    struct Case {
        std::string executable;
        std::string root;
    };
    for (const Case& c : std::vector<Case>{{"p/release/bin/app", "p"},
                                           {"p/release-x/bin/app", "p"},
                                           {"p/debug/bin/app", "p"},
                                           {"p/build/bin/app", "p/build"},
                                           {"p/bin/app", "p"}}) {
        SCOPED_TRACE(c.executable);
        const fs::path executable = tree.file(c.executable);
        EXPECT_EQ(dez::system::path::root_of_executable(executable), tree.root / c.root);
    }
}

TEST(SdkPath, ReadsALinkLongerThanAPathBuffer) {
    TempTree tree;
    std::string target;
    while (target.size() < 3000)
        target += "/a-rather-long-folder-name-" + std::to_string(target.size());
    fs::create_symlink(target, tree.root / "link");
    EXPECT_EQ(dez::system::path::read_link(tree.root / "link").string(), target);
    EXPECT_TRUE(dez::system::path::read_link(tree.root / "missing").empty());
}

TEST(SdkPath, ThisFunctionIsTheLibraryFolder) {
    Dl_info library{};
    ASSERT_NE(dladdr(reinterpret_cast<void*>(&fill_in_sdk_paths), &library), 0);
    const std::string folder = dez::system::path::this_function().string();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_EQ(fs::canonical(folder), fs::canonical(fs::path(library.dli_fname).parent_path()));
}

} // namespace
} // namespace dez::trelix

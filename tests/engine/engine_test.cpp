#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "domain/domain_facade.h"
#include "engine/domain_store.h"
#include "engine/engine.h"
#include "engine/generic_fallback_languages.h"
#include "engine/language_module_data.h"
#include "foundation/exception.h"
#include "foundation/logger.h"
#include "foundation/regex.h"
#include "foundation/string_utils.h"
#include "tests/engine/engine_fixture.h"

namespace dez::trelix {
namespace {

using namespace fixture;

class EngineTest : public EngineFixture {};

TEST_F(EngineTest, KeepsItsOwnCopyOfTheOptions) {
    EnvGuard root("TRELIX_ROOT", tree.root.string());
    EnvGuard morfex("TRELIX_MORFEX", tree.folder("data").string());
    auto caller = options_of({{"language", "en"}});
    auto engine = std::make_shared<Engine>(caller);

    EXPECT_EQ(caller->str(), R"({"language":"en"})");
    EXPECT_NE(engine->options, caller);
    EXPECT_EQ(engine->property("root_path"), tree.root.string());
    EXPECT_EQ(engine->property("morfex"), (tree.root / "data").string());
    EXPECT_EQ(engine->property("language"), "en");
    EXPECT_EQ(engine->root_path, tree.root.string());
}

TEST_F(EngineTest, NoOptionsAtAll) {
    EnvGuard root("TRELIX_ROOT", tree.root.string());
    auto engine = std::make_shared<Engine>(nullptr);
    EXPECT_EQ(engine->property("root_path"), tree.root.string());
    EXPECT_TRUE(engine->search_paths.empty());
}

TEST_F(EngineTest, SearchFoldersAreCanonicalAndWidenedByExistingTrelixFolders) {
    const std::string t = tree.root.string();
    tree.folder("with/morfex/trelix");
    tree.folder("without/morfex");
    tree.folder("e");
    struct Case {
        std::string morfex;
        std::vector<std::string> folders;
    };
    const std::vector<Case> cases = {
        {t + "/with/morfex", {t + "/with/morfex", t + "/with/morfex/trelix"}},
        {t + "/without/morfex", {t + "/without/morfex"}},
        {t + "/with/morfex:" + t + "/e", {t + "/with/morfex", t + "/e", t + "/with/morfex/trelix"}},
        {t + "/e/../with/./morfex", {t + "/with/morfex", t + "/with/morfex/trelix"}},
        {t + "/e", {t + "/e"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.morfex);
        runtime_log().clear();
        auto engine =
            std::make_shared<Engine>(options_of({{"root_path", t}, {"morfex", c.morfex}}));
        EXPECT_EQ(engine->search_paths, c.folders);
        EXPECT_EQ(engine->property("morfex"), dez::string::join(c.folders, ":", 0, -1));
        for (const std::string& folder : c.folders)
            EXPECT_TRUE(logged(level_info, "MORFEX_PATH:[" + folder + "]"));
    }
}

TEST_F(EngineTest, PropertyAnswersSetOptionsOnly) {
    auto engine = std::make_shared<Engine>(options_of(
        {{"root_path", tree.root.string()}, {"morfex", ""}, {"language", "en"}, {"empty", ""}}));
    EXPECT_EQ(engine->property("language"), "en");
    EXPECT_EQ(engine->property("root_path"), tree.root.string());
    EXPECT_TRUE(engine->search_paths.empty());
    for (const std::string name : {"morfex", "empty", "absent"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(failure_of([&] { engine->property(name); }), "Unkown attribute. [" + name + "] ");
    }
}

TEST_F(EngineTest, FailuresOfConstruction) {
    const std::string root = tree.root.string();
    const std::string missing = root + "/missing";
    EXPECT_EQ(failure_of([&] {
                  Engine engine(options_of({{"root_path", missing}}));
              }),
              "qvr root path option is not valid path [" + missing + "]");
    EXPECT_EQ(failure_of([&] {
                  Engine engine(options_of({{"root_path", root}, {"morfex", missing}}));
              }),
              "morfex data path is not valid [" + missing + "]");
    EXPECT_EQ(failure_of([&] {
                  Engine engine(options_of({{"root_path", root},
                                            {"morfex", ""},
                                            {"resource_manager_config", R"({"threads":2})"}}));
              }),
              "Unkown section [threads] in purge info option:");
}

TEST_F(EngineTest, PluginFolder) {
    struct Case {
        bool lib_exists;
        std::optional<std::string> variable;
        std::string expected; // relative to the tree; "<variable>" for the variable's value
    };
    const std::string variable = tree.folder("plugins").string();
    const std::vector<Case> cases = {
        {true, std::nullopt, "r/lib"},
        {true, variable, "r/lib"},
        {false, variable, "<variable>"},
        {false, std::nullopt, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.lib_exists ? "lib" : "no lib") +
                     (c.variable ? " + variable" : ""));
        TempTree case_tree;
        const fs::path root = case_tree.folder("r");
        if (c.lib_exists)
            case_tree.folder("r/lib");
        EnvGuard guard("TRELIX_PLUGIN_DIR", c.variable);
        runtime_log().clear();
        auto engine = bare_engine(root);
        const std::string expected = c.expected == "<variable>" ? variable
                                     : c.expected.empty()       ? std::string()
                                                          : (case_tree.root / c.expected).string();
        EXPECT_EQ(engine->plugin_folder, expected);
        EXPECT_TRUE(logged(level_trace, "[PLUGIN]:DEZ root : [" + root.string() + "]"));
        EXPECT_EQ(logged(level_trace, "[PLUGIN]:cannot find plugin folder while loading: [" +
                                          (root / "lib").string() + "]"),
                  !c.lib_exists);
    }
}

TEST_F(EngineTest, RegexesAreCaseSensitiveAndServeSeveralThreads) {
    auto engine = bare_engine(tree.root);
    EXPECT_TRUE(engine->get_regex("ab+").regex_match("abbb"));
    EXPECT_FALSE(engine->get_regex("ab+").regex_match("ABBB"));
    EXPECT_ANY_THROW(engine->get_regex("(unclosed"));

    std::vector<std::thread> threads;
    std::vector<int> matches(4, 0);
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < 200; ++i)
                matches[t] += engine->get_regex("x" + std::to_string(i) + "y*")
                                  .regex_match("x" + std::to_string(i) + "yy");
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(matches, std::vector<int>(4, 200));
}

TEST_F(EngineTest, ReleasingLanguagesAndDomains) {
    auto engine = bare_engine(tree.root);
    engine->language_modules["/d/en.language"] =
        std::make_shared<LanguageModuleData>("/d/en.language");
    engine->domain_store->domains["geo"] = std::make_shared<DomainFacade>("geo");
    engine->domain_store->domains["org"] = std::make_shared<DomainFacade>("org");
    EXPECT_EQ(engine->domain_store->name, "Engine");

    EXPECT_FALSE(engine->release_language("/d/fr.language"));
    EXPECT_TRUE(engine->release_language("/d/en.language"));
    EXPECT_TRUE(engine->language_modules.empty());
    EXPECT_TRUE(logged(level_debug, "[Language] Release language: /d/en.language"));

    EXPECT_FALSE(engine->release_domain("people"));
    EXPECT_TRUE(engine->release_domain("geo"));
    EXPECT_TRUE(logged(level_debug, "[Domain] Purge domaingeo"));
    EXPECT_EQ(engine->domain_store->domains.size(), 1u);
    engine->release_domains();
    EXPECT_TRUE(engine->domain_store->domains.empty());
}

TEST_F(EngineTest, ExplicitPurgeUsesItsOwnSettings) {
    auto engine = bare_engine(tree.root, R"({"interval":0,"languages":{"top":5}})");
    for (const std::string key : {"/d/a.language", "/d/b.language", "/d/c.language"}) {
        engine->language_modules[key] = std::make_shared<LanguageModuleData>(key);
        engine->domain_store->domains[key] = std::make_shared<DomainFacade>(key);
    }
    engine->language_modules["/d/b.language"]->last_access = 20;
    engine->domain_store->domains["/d/c.language"]->last_access_seconds = 20;

    EXPECT_TRUE(engine->purge_domains("{}"));
    EXPECT_EQ(engine->language_modules.size(), 3u);
    EXPECT_TRUE(engine->purge_domains(R"({"languages":{"top":1},"domains":{"top":1}})"));
    ASSERT_EQ(engine->language_modules.size(), 1u);
    EXPECT_EQ(engine->language_modules.begin()->first, "/d/b.language");
    ASSERT_EQ(engine->domain_store->domains.size(), 1u);
    EXPECT_EQ(engine->domain_store->domains.begin()->first, "/d/c.language");
    // The engine's own policy is untouched: its interval purge keeps five.
    engine->check_language_purge();
    EXPECT_EQ(engine->language_modules.size(), 1u);

    EXPECT_EQ(failure_of([&] { engine->purge_domains(R"({"languages":{"top":-1}})"); }),
              "Purge [languages][top] should be a integer.");
}

TEST(GenericFallbackLanguages, FortyFiveLanguagesAsSpelled) {
    EXPECT_EQ(generic_fallback_languages.size(), 45u);
    for (const char* name : {"albanian", "slovac", "vietnamese", "farsi", "lao"})
        EXPECT_EQ(generic_fallback_languages.count(name), 1u) << name;
    for (const char* name : {"english", "generic", "slovak", "german"})
        EXPECT_EQ(generic_fallback_languages.count(name), 0u) << name;
}

} // namespace
} // namespace dez::trelix

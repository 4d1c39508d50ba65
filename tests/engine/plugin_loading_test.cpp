#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "engine/engine.h"
#include "engine/global_plugin_mutex.h"
#include "engine/plugin_file.h"
#include "foundation/exception.h"
#include "foundation/qvr_exception.h"
#include "matcher/plugin_api.h"
#include "matcher/plugin_calls.h"
#include "matcher/plugin_collection.h"
#include "tests/engine/engine_fixture.h"

namespace dez::trelix {
namespace {

using namespace fixture;

std::vector<std::string> lines_of(const fs::path& file) {
    std::ifstream in(file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// An engine rooted in the tree, its plugin folder root/lib, and the test
// plugin copied there under the file names a test asks for.
class PluginLoading : public EngineFixture {
protected:
    void SetUp() override {
        EngineFixture::SetUp();
        lib = tree.folder("lib");
        log_file = tree.root / "plugin.log";
    }

    fs::path install(const std::string& file_name, const fs::path& folder = {}) {
        const fs::path target = (folder.empty() ? lib : folder) / file_name;
        fs::copy_file(TRELIX_TEST_PLUGIN, target);
        return target;
    }

    std::shared_ptr<Engine> engine_with(nlohmann::json plugin_options = nlohmann::json::object()) {
        nlohmann::json options = {{"root_path", tree.root.string()},
                                  {"morfex", ""},
                                  {"resource_manager_config", "{}"},
                                  {"test_plugin_log", log_file.string()}};
        options.update(plugin_options);
        return std::make_shared<Engine>(options_of(options));
    }

    std::vector<std::string> registered(const Engine& engine) const {
        std::vector<std::string> names;
        for (const auto& entry : *engine.get_plugins())
            names.push_back(entry.first);
        return names;
    }

    fs::path lib;
    fs::path log_file;
};

struct FileNameCase {
    const char* title;
    std::string requested;
    std::vector<std::string> files;
    // The names the plugin ends up under; empty when nothing loads.
    std::vector<std::string> registered;
};

class PluginFileNames : public PluginLoading, public ::testing::WithParamInterface<FileNameCase> {};

TEST_P(PluginFileNames, TheFileFoundServesTheNameAskedFor) {
    const FileNameCase& c = GetParam();
    for (const std::string& file : c.files) {
        if (file.back() == '/')
            tree.folder("lib/" + file);
        else
            install(file);
    }
    auto engine = engine_with();
    const boost::shared_ptr<plugins::API>& plugin = engine->get_plugin(c.requested);
    EXPECT_EQ(registered(*engine), c.registered);
    if (c.registered.empty()) {
        EXPECT_FALSE(plugin);
        EXPECT_TRUE(logged(level_trace, "[PLUGIN]:cannot find plugin file: "));
        return;
    }
    ASSERT_TRUE(plugin);
    for (const std::string& name : c.registered)
        EXPECT_EQ(engine->get_plugins()->at(name), plugin) << name;
    EXPECT_EQ(lines_of(log_file), std::vector<std::string>{"initialize"});

    // Served from the registry from now on.
    runtime_log().clear();
    EXPECT_EQ(engine->get_plugin(c.requested), plugin);
    EXPECT_EQ(runtime_log().size(), 2u);
    EXPECT_TRUE(logged(level_trace, "[PLUGIN]:found !! plugin :" + c.requested));
}

INSTANTIATE_TEST_SUITE_P(
    Forms, PluginFileNames,
    ::testing::Values(
        FileNameCase{"PlainName", "dates", {"dates.so"}, {"dates"}},
        FileNameCase{"PluginSuffix", "dates", {"dates_plugin.so"}, {"dates", "dates_plugin"}},
        FileNameCase{"PlainBeatsSuffix", "dates", {"dates.so", "dates_plugin.so"}, {"dates"}},
        FileNameCase{"PythonBridge", "python", {"_trelix.so"}, {"_trelix", "python"}},
        FileNameCase{"PythonBridgeWithVersion",
                     "python",
                     {"_trelix_plugin.x.so"},
                     {"_trelix_plugin", "python"}},
        FileNameCase{"SeveralCandidatesLastByName",
                     "dates",
                     {"dates_plugin_b.so", "dates_plugin_a.so"},
                     {"dates", "dates_plugin_b"}},
        FileNameCase{"WrongExtension", "dates", {"dates_plugin.txt"}, {}},
        FileNameCase{"FolderIsNoPlugin", "dates", {"dates_plugin.so/"}, {}},
        FileNameCase{"OtherStem", "dates", {"times.so"}, {}},
        FileNameCase{"NameLeavingTheFolder", "../lib/dates", {"dates.so"}, {}}),
    [](const auto& info) { return std::string(info.param.title); });

TEST_F(PluginLoading, PluginFolderComesFromTheVariableWhenSet) {
    const fs::path elsewhere = tree.folder("elsewhere");
    install("dates.so", elsewhere);
    {
        EnvGuard variable("TRELIX_PLUGIN_DIR", elsewhere.string());
        auto engine = engine_with();
        // root/lib exists but holds no plugin: the variable wins.
        EXPECT_TRUE(engine->get_plugin("dates"));
        EXPECT_EQ(engine->plugin_folder, elsewhere.string());
    }
    {
        install("dates.so");
        EnvGuard variable("TRELIX_PLUGIN_DIR", std::string());
        auto engine = engine_with();
        runtime_log().clear();
        EXPECT_FALSE(engine->get_plugin("dates"));
        EXPECT_TRUE(logged(level_trace, "[PLUGIN]:cannot find plugin folder: "));
    }
}

// What reaches the caller of get_plugin when initialize reports a code.
std::string raised_by(const std::function<void()>& action) {
    try {
        action();
    } catch (const qvr::common::JsonException& e) {
        return std::string("json:") + e.what();
    } catch (const qvr::common::Exception& e) {
        return std::string("qvr:") + e.what();
    } catch (const std::logic_error& e) {
        return std::string("logic:") + e.what();
    } catch (const std::runtime_error& e) {
        return std::string("runtime:") + e.what();
    }
    return "nothing";
}

TEST_F(PluginLoading, ErrorCodesOfInitializeBecomeExceptions) {
    const fs::path file = install("dates.so");
    struct Case {
        std::string code;
        std::string raised;
    };
    const std::vector<Case> cases{
        {"0", "nothing"},    {"1", "qvr:boom"},  {"2", "runtime:boom"}, {"3", "runtime:boom"},
        {"4", "logic:boom"}, {"5", "json:boom"}, {"6", "nothing"},      {"-1", "nothing"},
    };
    for (const Case& c : cases) {
        auto engine = engine_with({{"test_plugin_code", c.code}, {"test_plugin_message", "boom"}});
        runtime_log().clear();
        EXPECT_EQ(raised_by([&] { engine->get_plugin("dates"); }), c.raised) << c.code;
        const bool failed = c.raised != "nothing";
        EXPECT_EQ(engine->get_plugins()->empty(), failed) << c.code;
        EXPECT_EQ(logged(level_error, "[PLUGIN]:Could not load " + file.string() + ":boom"), failed)
            << c.code;
    }
}

TEST_F(PluginLoading, UnterminatedMessageIsReadUpToItsSize) {
    install("dates.so");
    auto engine = engine_with({{"test_plugin_code", "1"}, {"test_plugin_message", "unterminated"}});
    EXPECT_EQ(raised_by([&] { engine->get_plugin("dates"); }),
              "qvr:" + std::string(sizeof(dez_exception::message), 'x'));
}

TEST_F(PluginLoading, RefusingPluginIsNotRegistered) {
    const fs::path file = install("dates.so");
    auto engine = engine_with({{"test_plugin_initialize", "false"}});
    EXPECT_FALSE(engine->get_plugin("dates"));
    EXPECT_TRUE(engine->get_plugins()->empty());
    EXPECT_TRUE(logged(level_debug, "[PLUGIN]:cannot load plugin: " + file.string()));
    // The next request tries the file again.
    EXPECT_FALSE(engine->get_plugin("dates"));
    EXPECT_EQ(lines_of(log_file), (std::vector<std::string>{"initialize", "initialize"}));
}

TEST_F(PluginLoading, BrokenLibraryFailsWithItsReason) {
    const fs::path file = tree.file("lib/dates.so", "not a library");
    auto engine = engine_with();
    EXPECT_NE(raised_by([&] { engine->get_plugin("dates"); }), "nothing");
    EXPECT_TRUE(engine->get_plugins()->empty());
    bool error_logged = false;
    for (const auto& [level, line] : runtime_log())
        error_logged |= level == level_error &&
                        line.rfind("[PLUGIN]:Could not load " + file.string() + ":", 0) == 0;
    EXPECT_TRUE(error_logged);
}

TEST_F(PluginLoading, InitializeRunsWithoutTheEngineLock) {
    install("dates.so");
    const fs::path pipe = tree.root / "wait";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    auto engine = engine_with({{"test_plugin_wait", pipe.string()}});

    bool loaded = false;
    std::thread request([&] { loaded = static_cast<bool>(engine->get_plugin("dates")); });
    bool engine_lock_free = false;
    bool plugin_lock_free = true;
    {
        // Opening the write end waits until initialize opens the read end.
        std::ofstream writer(pipe);
        engine_lock_free = engine->get_mutex().try_lock();
        if (engine_lock_free)
            engine->get_mutex().unlock();
        plugin_lock_free = global_plugin_mutex.try_lock();
        if (plugin_lock_free)
            global_plugin_mutex.unlock();
    }
    request.join();
    EXPECT_TRUE(engine_lock_free);
    EXPECT_FALSE(plugin_lock_free) << "loads stay serialised";
    EXPECT_TRUE(loaded);
}

TEST_F(PluginLoading, APluginUnderTwoNamesIsShutDownOnce) {
    install("_trelix_plugin.so");
    auto engine = engine_with();
    ASSERT_TRUE(engine->get_plugin("python"));
    ASSERT_EQ(registered(*engine), (std::vector<std::string>{"_trelix_plugin", "python"}));
    engine.reset();
    // The engine's end tells the object once, under "_trelix_plugin" (never
    // under "python"), then shuts it down once.
    EXPECT_EQ(lines_of(log_file),
              (std::vector<std::string>{"initialize", "release_document", "shutdown"}));
}

TEST_F(PluginLoading, ReleaseReachesAPluginUnderTwoNamesOnce) {
    install("dates_plugin.so");
    auto engine = engine_with();
    ASSERT_TRUE(engine->get_plugin("dates"));
    ASSERT_EQ(registered(*engine), (std::vector<std::string>{"dates", "dates_plugin"}));
    plugins::release_document(engine.get());
    EXPECT_EQ(lines_of(log_file), (std::vector<std::string>{"initialize", "release_document"}));
}

TEST_F(PluginLoading, ALookupFromInsideInitializeFailsInsteadOfWaiting) {
    install("dates.so");
    auto engine = engine_with();
    ASSERT_TRUE(engine->get_plugin("dates"));
    {
        // As the loader marks the thread while a plugin's initialize runs,
        // holding the process plugin lock.
        std::lock_guard<std::mutex> held(global_plugin_mutex);
        PluginInitializeScope initializing;
        for (const char* name : {"dates", "unknown"}) {
            SCOPED_TRACE(name);
            try {
                engine->get_plugin(name);
                FAIL() << "no exception";
            } catch (const dez::Exception& e) {
                EXPECT_EQ(std::string(e.what()),
                          "The plugin '" + std::string(name) +
                              "' cannot be looked up while a plugin initializes on this thread.");
            }
        }
        // Readers of the collection on that thread do not lock it again.
        EXPECT_NO_THROW(plugins::release_document(engine.get()));
    }
    EXPECT_FALSE(PluginInitializeScope::active());
    // Other threads and the thread after initialize look plugins up as before.
    bool found_elsewhere = false;
    std::thread([&] { found_elsewhere = bool(engine->get_plugin("dates")); }).join();
    EXPECT_TRUE(found_elsewhere);
    EXPECT_TRUE(engine->get_plugin("dates"));
}

TEST_F(PluginLoading, FailedShutdownIsLoggedNotRaised) {
    install("dates.so");
    auto engine = engine_with({{"test_plugin_shutdown_code", "3"}});
    ASSERT_TRUE(engine->get_plugin("dates"));
    runtime_log().clear();
    EXPECT_NO_THROW(engine.reset());
    EXPECT_TRUE(logged(level_error, "[PLUGIN]:shutdown of dates failed:shutdown failed"));
}

TEST_F(PluginLoading, WarmUpCallsThePythonPlugin) {
    {
        auto engine = engine_with();
        EXPECT_NO_THROW(engine->init_plugins()) << "no python plugin: nothing to warm up";
    }
    install("_trelix.so");
    auto engine = engine_with({{"test_plugin_answer", "warm"}});
    engine->init_plugins();
    EXPECT_EQ(
        lines_of(log_file),
        (std::vector<std::string>{"initialize", "call trelix.plugin warmup", "free_result warm"}));
    EXPECT_TRUE(engine->purge_domains("{}"));
    auto failing = engine_with({{"test_plugin_call_code", "4"}});
    EXPECT_EQ(raised_by([&] { failing->init_plugins(); }), "logic:call failed");
}

TEST_F(PluginLoading, FolderScanIsSortedAndRecursesOnRequest) {
    tree.file("scan/p_b.so");
    tree.file("scan/p_a.so");
    tree.file("scan/p_c.txt");
    tree.file("scan/q/p_z.so");
    std::string result;
    find_plugin_file((tree.root / "scan").string(), ".so", "p_", result, false);
    EXPECT_EQ(result, (tree.root / "scan" / "p_b.so").string());
    find_plugin_file((tree.root / "scan").string(), ".so", "p_", result, true);
    EXPECT_EQ(result, (tree.root / "scan" / "q" / "p_z.so").string());
    result.clear();
    find_plugin_file((tree.root / "scan").string(), "", "p_c", result, false);
    EXPECT_EQ(result, (tree.root / "scan" / "p_c.txt").string());
    EXPECT_THROW(find_plugin_file((tree.root / "none").string(), ".so", "p", result, false),
                 fs::filesystem_error);
    EXPECT_EQ(generate_plugin_filename((tree.root / "scan").string(), ".."), "");
}

} // namespace
} // namespace dez::trelix

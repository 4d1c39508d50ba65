#pragma once

// Temporary folder trees, environment guards and engines built over them.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "engine/engine.h"
#include "foundation/exception.h"
#include "foundation/logger.h"
#include "foundation/options.h"
#include "tests/document/log_capture.h"
#include "tests/domain/temp_tree.h"

namespace dez::trelix::fixture {

namespace fs = std::filesystem;

// A fresh folder tree, removed with everything in it. Its root is canonical
// because the engine canonicalises the folders it is given.
class TempTree : public dez::pipeline::fixture::TempTree {
public:
    TempTree() { root = fs::canonical(root); }
};

// Sets (or, with nullopt, unsets) an environment variable and restores it.
class EnvGuard {
public:
    EnvGuard(std::string name, std::optional<std::string> value) : name_(std::move(name)) {
        if (const char* old = std::getenv(name_.c_str()))
            old_ = old;
        apply(value);
    }
    ~EnvGuard() { apply(old_); }
    EnvGuard(const EnvGuard&) = delete;
    EnvGuard& operator=(const EnvGuard&) = delete;

private:
    void apply(const std::optional<std::string>& value) const {
        if (value)
            ::setenv(name_.c_str(), value->c_str(), 1);
        else
            ::unsetenv(name_.c_str());
    }
    std::string name_;
    std::optional<std::string> old_;
};

// The variables the engine reads, unset for the life of a test.
struct CleanEnvironment {
    EnvGuard root{"TRELIX_ROOT", std::nullopt};
    EnvGuard morfex{"TRELIX_MORFEX", std::nullopt};
    EnvGuard plugins{"TRELIX_PLUGIN_DIR", std::nullopt};
};

// The opening every engine test shares: no engine variable set, a fresh
// tree and an empty runtime log.
class EngineFixture : public ::testing::Test {
protected:
    void SetUp() override { runtime_log().clear(); }

    CleanEnvironment environment;
    TempTree tree;
};

using dez::wlog::level_debug;
using dez::wlog::level_error;
using dez::wlog::level_info;
using dez::wlog::level_trace;
using dez::wlog::level_warning;

// The message of the dez::Exception the action raises; "no failure" when it
// raises none.
inline std::string failure_of(const std::function<void()>& action) {
    try {
        action();
    } catch (const dez::Exception& e) {
        return e.what();
    }
    return "no failure";
}

inline std::shared_ptr<dez::IOptions> options_of(const nlohmann::json& value) {
    return std::make_shared<dez::Options>(value.dump().c_str());
}

// An engine rooted in `root` with no data folders.
inline std::shared_ptr<Engine> bare_engine(const fs::path& root,
                                           const std::string& purge_settings = "{}") {
    return std::make_shared<Engine>(options_of({{"root_path", root.string()},
                                                {"morfex", ""},
                                                {"resource_manager_config", purge_settings}}));
}

// Whether the runtime channel received exactly this line at this level since
// the log was last cleared.
inline bool logged(unsigned short level, const std::string& text) {
    for (const auto& [line_level, line] : runtime_log())
        if (line_level == level && line == text)
            return true;
    return false;
}

// Moves the file's write time `seconds` ahead of now, as a rewrite later on
// would.
inline void age(const fs::path& file, int seconds) {
    fs::last_write_time(file, fs::file_time_type::clock::now() + std::chrono::seconds(seconds));
}

inline std::size_t count_logged(const std::string& text) {
    std::size_t count = 0;
    for (const auto& entry : runtime_log())
        count += entry.second == text;
    return count;
}

} // namespace dez::trelix::fixture

#pragma once

// Temporary folder trees, environment guards and engines built over them.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

#include <nlohmann/json.hpp>

#include "engine/engine.h"
#include "foundation/options.h"
#include "tests/document/log_capture.h"

namespace dez::trelix::fixture {

namespace fs = std::filesystem;

// A fresh folder under the temporary folder, removed with everything in it.
class TempTree {
public:
    TempTree() {
        static int counter = 0;
        root_ = fs::temp_directory_path() /
                ("trelix-engine-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
        fs::remove_all(root_);
        fs::create_directories(root_);
        root_ = fs::canonical(root_);
    }
    ~TempTree() {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    const fs::path& root() const { return root_; }
    // Makes the folder (and its parents); its path.
    fs::path folder(const std::string& relative) const {
        fs::create_directories(root_ / relative);
        return root_ / relative;
    }
    fs::path file(const std::string& relative, const std::string& content = "") const {
        fs::create_directories((root_ / relative).parent_path());
        std::ofstream(root_ / relative, std::ios::binary) << content;
        return root_ / relative;
    }

private:
    fs::path root_;
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

inline std::size_t count_logged(const std::string& text) {
    std::size_t count = 0;
    for (const auto& entry : runtime_log())
        count += entry.second == text;
    return count;
}

} // namespace dez::trelix::fixture

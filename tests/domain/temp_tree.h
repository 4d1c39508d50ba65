#pragma once

// A folder tree under the system's temporary folder, removed with the fixture.

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <system_error>
#include <vector>

namespace dez::pipeline::fixture {

class TempTree {
public:
    TempTree() {
        static std::atomic<unsigned> counter{0};
        std::random_device random;
        root = std::filesystem::temp_directory_path() /
               ("trelix-pipeline-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) +
                "-" + std::to_string(random()));
        std::filesystem::create_directories(root);
    }
    ~TempTree() {
        std::error_code ec;
        for (const auto& folder : locked_)
            std::filesystem::permissions(folder, std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(root, ec);
    }
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    // Writes a file (and its folders) under the root; returns its path.
    std::filesystem::path file(const std::string& relative, const std::string& content = "") {
        const std::filesystem::path path = root / relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }

    std::filesystem::path folder(const std::string& relative) {
        const std::filesystem::path path = root / relative;
        std::filesystem::create_directories(path);
        return path;
    }

    // Takes every permission away from a folder; given back before removal.
    void lock(const std::filesystem::path& folder) {
        std::filesystem::permissions(folder, std::filesystem::perms::none);
        locked_.push_back(folder);
    }

    std::filesystem::path root;

private:
    std::vector<std::filesystem::path> locked_;
};

// Root ignores permissions, so refusal cannot be shown there.
inline bool permissions_apply() {
    return ::geteuid() != 0;
}

} // namespace dez::pipeline::fixture

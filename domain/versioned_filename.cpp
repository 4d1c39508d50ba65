#include "domain/versioned_filename.h"

#include <iomanip>
#include <iostream>
#include <system_error>
#include <utility>

#include "domain/regular_files_by_name.h"
#include "foundation/file.h"
#include "foundation/logger.h"
#include "foundation/string_utils.h"
#include "foundation/version.h"

namespace dez::trelix::core {

namespace fs = std::filesystem;

namespace {

struct Latest {
    dez::version::Version version{"0.0.0"};
    fs::path path;
};

// Files of one folder named base + "@" + version + ext. Only the file-name
// prefix counts, so "en" never takes "english@1.0.language" for its own.
void find_latest_version(const fs::path& folder, const std::string& base, const std::string& ext,
                         Latest& best) {
    const std::string prefix = base + "@";
    // Sorted, so a tie inside one folder does not depend on the file system.
    std::error_code ec;
    const std::vector<std::string> names = regular_files_by_name(folder, ec);
    if (ec) {
        TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_trace,
                   "-- cannot list folder: " << std::quoted(folder.string()) << ": "
                                             << ec.message());
        return;
    }
    for (const std::string& name : names) {
        if (name.size() < prefix.size() + ext.size() || !dez::string::starts_with(name, prefix) ||
            !dez::string::ends_with(name, ext))
            continue;
        const std::string text =
            name.substr(prefix.size(), name.size() - prefix.size() - ext.size());
        dez::version::Version version(text);
        // operator> lets equal versions through: the last one met wins.
        if (version > best.version) {
            best.version = std::move(version);
            best.path = folder / name;
        }
    }
}

} // namespace

fs::path generate_filename(const std::string& name, const std::vector<fs::path>& folders) {
    TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_trace,
               "-- checking filename: " << name);
    if (dez::file::exists(name)) {
        TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_trace,
                   "-- found filename: " << name);
        return name;
    }

    const fs::path as_path(name);
    const std::string stem = as_path.stem().string();
    TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_trace,
               "-- stem has @latest version: stem=" << stem);

    const size_t latest = stem.find("@latest");
    if (latest == std::string::npos) {
        for (const fs::path& folder : folders) {
            const fs::path candidate = folder / name;
            TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_trace,
                       "-- checking filename: " << std::quoted(candidate.string()));
            if (dez::file::exists(candidate)) {
                TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_trace,
                           "-- found filename: " << candidate.string());
                return candidate;
            }
        }
        return fs::path();
    }

    const std::string ext = as_path.extension().string();
    const std::string base = stem.substr(0, latest);
    // A directory in the name is kept: "data/english@latest.language" looks in <folder>/data.
    const fs::path sub = as_path.parent_path();
    Latest best;
    for (const fs::path& folder : folders) {
        const fs::path searched = sub.empty() ? folder : folder / sub;
        if (dez::file::is_directory(searched))
            find_latest_version(searched, base, ext, best);
    }
    if (best.path.empty())
        return fs::path();
    TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_trace,
               "-- found filename: " << best.path.string() << "for " << name);
    return best.path;
}

void test_generate_filename(const std::string& name) {
    std::cout << "--->>>>>>>>>>" << name << std::endl;
}

} // namespace dez::trelix::core

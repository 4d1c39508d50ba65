#include "engine/data_paths.h"

#include <cstdlib>
#include <system_error>

#include "engine/sdk_path.h"
#include "foundation/exception.h"
#include "foundation/file.h"
#include "foundation/logger.h"
#include "foundation/string_utils.h"

namespace dez::trelix {

namespace fs = std::filesystem;

namespace {

constexpr const char* root_key = "root_path";
constexpr const char* morfex_key = "morfex";

// The parent of this library's canonical folder; empty when unknown.
fs::path library_root() {
    fs::path folder = dez::system::path::this_function();
    if (folder.empty())
        return {};
    folder.remove_filename();
    std::error_code error;
    const fs::path canonical = fs::canonical(fs::absolute(folder), error);
    return error ? fs::path() : canonical.parent_path();
}

void settle_root(const std::shared_ptr<dez::IOptions>& options) {
    if (!options->get(root_key).empty())
        return;
    TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_trace,
               "No root_path option, looking for TRELIX_ROOT ... ");
    if (const char* variable = std::getenv("TRELIX_ROOT")) {
        options->add(root_key, variable);
        return;
    }
    const fs::path candidate = library_root();
    TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_debug, "Using:" << candidate.string());
    TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_debug,
               "Engine options" << options->str());
    if (!candidate.empty() && dez::file::exists(candidate))
        options->add(root_key, candidate.string());
}

void settle_morfex(const std::shared_ptr<dez::IOptions>& options, const fs::path& root) {
    if (options->has(morfex_key))
        return;
    if (const char* variable = std::getenv("TRELIX_MORFEX")) {
        options->add(morfex_key, variable);
    } else if (dez::file::exists(root / "morfex")) {
        options->add(morfex_key, (root / "morfex").string());
    } else {
        TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_warning,
                   "Could not find morfex in default location [" << (root / "morfex").string()
                                                                 << "]");
        const fs::path above = root / ".." / "morfex";
        if (dez::file::exists(above))
            options->add(morfex_key, above.string());
    }
    TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_trace,
               "The '" << morfex_key << "' option not set/found using default ["
                       << options->get(morfex_key) << "]");
}

} // namespace

void fill_in_sdk_paths(const std::shared_ptr<dez::IOptions>& options) {
    TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_trace,
               "Engine Options check_sdk_filesystem [" << options->str() << "]");
    settle_root(options);
    if (options->get(root_key).empty()) {
        TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_trace,
                   "Still no root_path option, looking for ./tlx... ");
        options->add(root_key, dez::system::path::sdk("./tlx").string());
    }
    const std::string root = options->get(root_key);
    TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_info, "TRELIX_ROOT : [" << root << "]");
    if (!dez::file::exists(root))
        throw dez::Exception("qvr root path option is not valid path [" + root + "]");

    settle_morfex(options, root);
    const std::string morfex = options->get(morfex_key);
    TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_info,
               "MORFEX_ROOT : [" << morfex << "]");
    for (const std::string& folder : dez::string::split_vector(morfex, ':', false)) {
        TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_trace,
                   " MORFEX_PATH : [" << folder << "]");
        if (!dez::file::exists(folder))
            throw dez::Exception("morfex data path is not valid [" + folder + "]");
    }
}

std::string get_default_morfex() {
    std::shared_ptr<dez::IOptions> options = std::make_shared<dez::Options>();
    fill_in_sdk_paths(options);
    return options->get(morfex_key);
}

void normalize_paths(std::vector<std::string>& paths) {
    for (std::string& path : paths)
        path = fs::canonical(fs::absolute(path)).string();
}

std::string relative_to_paths(const std::string& file, const std::vector<fs::path>& folders) {
    static const std::string extension = ".language";
    if (!dez::string::ends_with(file, extension))
        return file;
    for (const fs::path& folder : folders) {
        const std::string text = folder.string();
        if (text.empty() || !dez::string::starts_with(file, text))
            continue;
        // Only a whole folder component counts: /d must not claim /dx/en.language.
        std::size_t begin = text.size();
        if (text.back() != '/') {
            if (file[begin] != '/')
                continue;
            ++begin;
        }
        if (file.size() < begin + 1 + extension.size())
            continue;
        return file.substr(begin, file.size() - begin - extension.size());
    }
    return file;
}

} // namespace dez::trelix

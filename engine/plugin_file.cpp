#include "engine/plugin_file.h"

#include <algorithm>
#include <filesystem>
#include <vector>

#include "foundation/file.h"
#include "foundation/string_utils.h"

namespace dez::trelix {

namespace fs = std::filesystem;

namespace {

// Plugin names come from function uris in compiled rules; one that is not a
// plain file name must not open a library elsewhere.
bool is_plain_name(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string("/\\\0", 3)) == std::string::npos;
}

} // namespace

std::string generate_plugin_filename(const std::string& folder, const std::string& name) {
    if (!is_plain_name(name))
        return {};
    const std::string stem = name == "python" ? "_trelix" : name;
    const fs::path first = fs::path(folder) / (stem + ".so");
    if (dez::file::exists(first))
        return first.string();
    std::string result;
    find_plugin_file(folder, ".so", stem + "_plugin", result, false);
    if (!result.empty() && dez::file::exists(result))
        return result;
    return {};
}

void find_plugin_file(const std::string& folder, const std::string& extension,
                      const std::string& prefix, std::string& result, bool recursive) {
    std::vector<fs::path> entries;
    for (const auto& entry : fs::directory_iterator(folder))
        entries.push_back(entry.path());
    std::sort(entries.begin(), entries.end());
    for (const fs::path& path : entries) {
        if (dez::file::is_regular_file(path)) {
            if (!extension.empty() && path.extension().string() != extension)
                continue;
            if (dez::string::starts_with(path.filename().string(), prefix))
                result = path.string();
        } else if (recursive && dez::file::is_directory(path)) {
            find_plugin_file(path.string(), extension, prefix, result, recursive);
        }
    }
}

} // namespace dez::trelix

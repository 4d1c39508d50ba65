#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

namespace dez::trelix::core {

// Resolves the data files a language configuration names by key. Keeps a copy
// of the folders; the configuration and the language must outlive it.
class filename_generator {
public:
    filename_generator(const std::vector<std::filesystem::path>& folders,
                       const nlohmann::json& config, const std::string& language);
    // The list of the two folders, in this order.
    filename_generator(const std::filesystem::path& first, const std::filesystem::path& second,
                       const nlohmann::json& config, const std::string& language);

    // The file config[key] names: the value itself when it exists, else the
    // first folder under which it exists; the empty path when the key is
    // missing or nothing exists. A value that is not a string throws the JSON
    // library's type error. With TRELIX_STRICT_CONFIG set a missing key is
    // reported on standard error. extension is the file's conventional
    // extension; the resolution does not use it.
    std::filesystem::path operator()(const char* extension, const char* key) const;

    std::vector<std::filesystem::path> folders;
    const nlohmann::json& config;
    const std::string& language;
};

} // namespace dez::trelix::core

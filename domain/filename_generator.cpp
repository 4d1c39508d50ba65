#include "domain/filename_generator.h"

#include "foundation/file.h"

#include <cstdlib>
#include <iostream>

#include <nlohmann/json.hpp>

namespace dez::trelix::core {

namespace fs = std::filesystem;

filename_generator::filename_generator(const std::vector<fs::path>& folders,
                                       const nlohmann::json& config, const std::string& language)
    : folders(folders), config(config), language(language) {}

filename_generator::filename_generator(const fs::path& first, const fs::path& second,
                                       const nlohmann::json& config, const std::string& language)
    : folders{first, second}, config(config), language(language) {}

fs::path filename_generator::operator()(const char* /*extension*/, const char* key) const {
    // find answers end() for a configuration that is not an object.
    const auto entry = config.find(key);
    if (entry != config.end()) {
        const fs::path value(entry->get<std::string>());
        // An empty value names no file; joined to a folder it would name the folder.
        if (value.empty())
            return fs::path();
        if (dez::file::exists(value))
            return value;
        for (const fs::path& folder : folders) {
            const fs::path candidate = folder / value;
            if (dez::file::exists(candidate))
                return candidate;
        }
        return fs::path();
    }
    if (std::getenv("TRELIX_STRICT_CONFIG") != nullptr)
        std::cerr << "-- [language.config] `" << key << "` section missing in config file."
                  << "\"\"";
    return fs::path();
}

} // namespace dez::trelix::core

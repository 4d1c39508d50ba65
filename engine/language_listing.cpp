#include "engine/language_listing.h"

#include <filesystem>
#include <system_error>

#include <nlohmann/json.hpp>

#include "foundation/file.h"
#include "foundation/string_utils.h"

namespace dez::trelix {

namespace fs = std::filesystem;

int collect_language_files(const std::string& folder, const std::string& extension,
                           nlohmann::json& result, bool recursive) {
    int count = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        std::error_code error;
        const fs::file_status status = entry.status(error);
        if (error)
            continue;
        const fs::path& path = entry.path();
        if (fs::is_regular_file(status)) {
            if (!extension.empty() && path.extension().string() != extension)
                continue;
            ++count;
            const std::vector<std::string> parts =
                dez::string::split_vector(path.stem().string(), '@', false);
            const std::string language = parts.empty() ? std::string() : parts[0];
            const std::string variant = parts.size() > 1 ? parts[1] : std::string("none");
            // The first file met for a language wins, an earlier folder over a
            // later one: a language already listed adds no further variant.
            if (result.contains(language))
                continue;
            nlohmann::json support;
            add_support_level(support, path.string());
            result[language][variant] = std::move(support);
        } else if (recursive && fs::is_directory(status)) {
            count += collect_language_files(path.string(), extension, result, recursive);
        }
    }
    return count;
}

void add_support_level(nlohmann::json& entry, const std::string& filename) {
    std::error_code error;
    if (!fs::exists(filename, error) || error)
        return;
    const std::string text = dez::file::load(filename.c_str());
    const nlohmann::json config = nlohmann::json::parse(text, nullptr, false);
    if (config.is_discarded()) {
        entry["error"] = "Invalid json language file.";
        return;
    }
    if (!config.is_object())
        return;
    if (config.contains("tokenizer"))
        entry["support"].push_back("tokenizer");
    else if (config.contains("tokenizer_locale"))
        entry["support"].push_back("tokenizer_locale");
    if (config.contains("morph_chain"))
        entry["support"].push_back("morphology");
}

} // namespace dez::trelix

// The engine's language requests: resolving a language to its `.language`
// file, the language cache with its staleness check, and the generic fallback.

#include <filesystem>

#include <nlohmann/json.hpp>

#include "domain/pipeline_expansion.h"
#include "domain/versioned_filename.h"
#include "engine/data_paths.h"
#include "engine/engine.h"
#include "engine/generic_fallback_languages.h"
#include "engine/language_cache_key.h"
#include "engine/language_module.h"
#include "engine/language_module_data.h"
#include "engine/load_language_module_data.h"
#include "engine/write_time.h"
#include "foundation/exception.h"
#include "foundation/file.h"
#include "foundation/logger.h"
#include "foundation/options.h"
#include "foundation/wall_clock.h"

namespace dez::trelix {

namespace fs = std::filesystem;

using dez::wlog::channel_runtime;

std::shared_ptr<LanguageModule>
Engine::get_language_module(const std::shared_ptr<dez::IOptions>& request) const {
    std::lock_guard<std::mutex> lock(get_mutex());
    return get_language_module_nolock(request);
}

std::shared_ptr<LanguageModule> Engine::get_language_module(const std::string& language) const {
    std::lock_guard<std::mutex> lock(get_mutex());
    const nlohmann::json request = {{"language", language}};
    return get_language_module_nolock(dez::convert_string_to_api_options(request.dump()));
}

std::shared_ptr<LanguageModule>
Engine::get_language_module_nolock(const std::shared_ptr<dez::IOptions>& request) const {
    std::string language = request ? request->get("language") : std::string();
    const fs::path project_path = request ? request->get("project_path") : std::string();
    if (language.empty())
        throw dez::Exception("Language has not been set.");
    TRELIX_LOG(channel_runtime, dez::wlog::level_trace, "-- get_language_module:" << language);
    TRELIX_LOG(channel_runtime, dez::wlog::level_trace,
               "-- project path:" << project_path.string());

    auto module = std::make_shared<LanguageModule>();
    module->language = language;

    std::vector<fs::path> folders;
    for (const std::string& folder : search_paths) {
        TRELIX_LOG(channel_runtime, dez::wlog::level_trace, "-- data path:" << folder);
        folders.emplace_back(folder);
    }
    folders.push_back(project_path);

    std::string config_path;
    if (!dez::file::exists(language)) {
        const nlohmann::json expansion =
            dez::pipeline::expand2json(language, search_paths, true, true, std::string());
        TRELIX_LOG(channel_runtime, dez::wlog::level_trace,
                   "-- [PIPELINE][EXPANSION]:(" << language << ") -> " << expansion.dump());
        // A name nothing was found for goes on to the search below and the
        // generic fallback; any other refusal is final, and so is a component
        // that is no file (an application).
        if (!expansion.empty()) {
            const nlohmann::json& first = expansion.at(0);
            if (first.contains("exception_msg") ? !dez::pipeline::is_not_found(first)
                                                : !first.contains("filename"))
                throw dez::Exception("Language file not found. " + language);
            if (!first.contains("exception_msg"))
                config_path = first.at("filename").get<std::string>();
        }
    }
    std::string name;
    if (dez::file::is_regular_file(config_path)) {
        TRELIX_LOG(channel_runtime, dez::wlog::level_trace, "- generate config: " << config_path);
        name = relative_to_paths(config_path, folders);
        language = name;
    } else {
        const fs::path found = core::generate_filename(language + ".language", folders);
        config_path = found.empty() ? language : found.string();
        name = relative_to_paths(config_path, folders);
    }
    TRELIX_LOG(channel_runtime, dez::wlog::level_trace, "- language: " << name);
    TRELIX_LOG(channel_runtime, dez::wlog::level_trace, "- config file: " << config_path);

    const std::string key = language_cache_key(config_path);
    check_language_file(key);

    if (!dez::file::exists(config_path)) {
        if (!generic_fallback_languages.count(language))
            throw dez::Exception("language config file missing for [" + language +
                                 "] :" + config_path);
        const std::string text = request->str().empty() ? "{}" : request->str();
        TRELIX_LOG(channel_runtime, dez::wlog::level_debug,
                   "using generic language module." << text);
        auto generic_request = dez::convert_string_to_api_options(text);
        generic_request->add("language", "generic");
        auto generic = get_language_module_nolock(generic_request);
        generic->name = language;
        return generic;
    }

    TRELIX_LOG(channel_runtime, dez::wlog::level_info,
               "[Language] "
                   << "Get: " << key);
    if (!language_modules.count(key))
        language_modules.emplace(key, load_language_module_data(this, key, language, folders));

    auto entry = language_modules.find(key);
    if (entry == language_modules.end())
        throw dez::Exception("Could not load language:" + key);
    module->name = name;
    module->data = entry->second;
    const int64_t now = dez::system::seconds_since_epoch();
    entry->second->last_access = now;
    TRELIX_LOG(channel_runtime, dez::wlog::level_trace,
               "[Language] "
                   << "Last access : " << now);

    check_language_purge(key);
    return module;
}

void Engine::check_language_file(const std::string& filename) const {
    // A request passes its key, already canonical: no second resolution.
    auto entry = language_modules.find(filename);
    if (entry == language_modules.end())
        entry = language_modules.find(language_cache_key(filename));
    if (entry == language_modules.end())
        return;
    const LanguageModuleData& data = *entry->second;
    const int64_t on_disk = write_time_in_seconds(data.config_filename);
    TRELIX_LOG(channel_runtime, dez::wlog::level_debug,
               "[Language] "
                   << " language_data->last_write_time_stamp=" << data.last_write_time_stamp
                   << ", ondisk_timestamp=" << on_disk);
    // A file deleted after loading (-1) keeps serving the cached data.
    if (on_disk <= data.last_write_time_stamp)
        return;
    TRELIX_LOG(channel_runtime, dez::wlog::level_debug,
               "[Language] "
                   << " Newer version of " << data.config_filename);
    const std::string key = data.config_filename;
    release_language_no_lock(key);
}

} // namespace dez::trelix

#include "engine/engine.h"

#include <cstdlib>
#include <filesystem>

#include <nlohmann/json.hpp>

#include "analysis/analyzer.h"
#include "core-afst/afst.h"
#include "engine/data_paths.h"
#include "engine/domain_store.h"
#include "engine/language_cache_key.h"
#include "engine/load_afst.h"
#include "engine/resource_managment.h"
#include "engine/write_time.h"
#include "foundation/exception.h"
#include "foundation/file.h"
#include "foundation/logger.h"
#include "foundation/regex.h"
#include "foundation/string_utils.h"
#include "matcher/plugin_calls.h"
#include "matcher/plugin_collection.h"

namespace dez::trelix {

namespace fs = std::filesystem;

namespace {

// The engine adds "root_path" and "morfex" to its options; a copy keeps the
// caller's object (possibly shared with other engines) as the caller left it.
std::shared_ptr<dez::IOptions> own_copy(const std::shared_ptr<dez::IOptions>& options) {
    auto copy = std::make_shared<dez::Options>();
    if (options)
        *copy->json = nlohmann::json::parse(options->str());
    return copy;
}

} // namespace

Engine::Engine(const std::shared_ptr<dez::IOptions>& caller_options)
    : options(own_copy(caller_options)), domain_store(std::make_shared<DomainStore>("Engine")),
      plugins(std::make_shared<plugins::PluginCollection>()) {
    dez::wlog::set_environment_logger();
    fill_in_sdk_paths(options);
    root_path = options->get("root_path");

    std::vector<std::string> folders =
        dez::string::split_vector(options->get("morfex"), ':', false);
    normalize_paths(folders);
    // A "morfex" folder may keep this library's data in its "trelix" subfolder;
    // one that is not there would only fail later listings.
    search_paths = folders;
    for (const std::string& folder : folders) {
        if (!dez::string::ends_with(folder, "morfex"))
            continue;
        const fs::path widened = fs::path(folder) / "trelix";
        if (dez::file::is_directory(widened))
            search_paths.push_back(widened.string());
    }
    for (const std::string& folder : search_paths)
        TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_info,
                   "MORFEX_PATH:[" << folder << "]");
    options->add("morfex", dez::string::join(search_paths, ":", 0, -1));

    resource_manager =
        std::make_shared<ResourceManagment>(this, options->get("resource_manager_config", "{}"));

    // fill_in_sdk_paths has settled "root_path" in our own copy, so the root's
    // "lib" folder is always the candidate.
    TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_trace,
               "[PLUGIN]:DEZ root : [" << root_path << "]");
    check_plugin_folder((fs::path(root_path) / "lib").string());
}

Engine::~Engine() {
    try {
        plugins::release_document(this);
    } catch (const std::exception& e) {
        TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_error,
                   "[PLUGIN]:release_document failed: " << e.what());
    }
}

plugins::PluginCollection* Engine::get_plugins() const {
    return plugins.get();
}

std::shared_ptr<plugins::PluginCollection> Engine::get_plugins_ptr() const {
    return plugins;
}

void Engine::release_domains() {
    std::lock_guard<std::mutex> lock(get_mutex());
    domain_store->domains.clear();
}

bool Engine::release_language(const std::string& key) {
    std::lock_guard<std::mutex> lock(get_mutex());
    return release_language_no_lock(key);
}

bool Engine::release_domain(const std::string& name) {
    std::lock_guard<std::mutex> lock(get_mutex());
    return release_domain_no_lock(name);
}

bool Engine::purge_domains(const std::string& settings) {
    ResourceManagment purge(this, settings);
    // The python plugin's warm-up, before the lock: loading a plugin takes
    // the engine lock itself.
    dez::trelix::warm_up_plugin(this);
    std::lock_guard<std::mutex> lock(get_mutex());
    purge.purge_languages(false);
    purge.purge_domains(false);
    return true;
}

void Engine::collect_volume_size(uint64_t /*size*/) const {}

// info, languages and get_language_identifier_data: engine_information.cpp.

std::string Engine::property(const std::string& name) const {
    std::string value = options->get(name.c_str());
    if (value.empty())
        throw dez::Exception("Unkown attribute. [" + name + "] ");
    return value;
}

void Engine::check_language_purge() const {
    check_language_purge(std::string());
}

void Engine::check_language_purge(const std::string& in_use) const {
    if (resource_manager)
        resource_manager->purge_languages(true, in_use);
}

void Engine::check_domain_purge() const {
    check_domain_purge(std::string());
}

void Engine::check_domain_purge(const std::string& in_use) const {
    if (resource_manager)
        resource_manager->purge_domains(true, in_use);
}

dez::Regex Engine::get_regex(const std::string& pattern) const {
    std::lock_guard<std::mutex> lock(regex_mutex);
    return regex_factory.make_regex(pattern, false);
}

std::mutex& Engine::get_mutex() const {
    return mutex;
}

bool Engine::release_language_no_lock(const std::string& key) const {
    auto it = language_modules.find(key);
    if (it == language_modules.end())
        it = language_modules.find(language_cache_key(key));
    if (it == language_modules.end())
        return false;
    TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_debug,
               "[Language] "
                   << "Release language: " << it->first);
    language_modules.erase(it);
    return true;
}

bool Engine::release_domain_no_lock(const std::string& name) {
    auto it = domain_store->domains.find(name);
    if (it == domain_store->domains.end())
        return false;
    TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_debug,
               "[Domain] "
                   << "Purge domain" << name);
    domain_store->domains.erase(it);
    return true;
}

std::shared_ptr<dez::afst::AFst> Engine::get_afst(const std::string& filename) const {
    auto it = afsts.find(filename);
    if (it == afsts.end())
        return afsts.emplace(filename, load_afst(filename)).first->second;
    // A deleted file (-1) keeps the cached transducer in service.
    if (it->second->timestamp < write_time_in_seconds(filename))
        it->second = load_afst(filename);
    return it->second;
}

void Engine::check_plugin_folder(const std::string& folder) const {
    if (const char* variable = std::getenv("TRELIX_PLUGIN_DIR"))
        plugin_folder = variable;
    if (dez::file::exists(folder)) {
        plugin_folder = folder;
        return;
    }
    TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_trace,
               "[PLUGIN]:cannot find plugin folder while loading: [" << folder << "]");
}

} // namespace dez::trelix

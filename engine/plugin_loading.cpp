// The engine's plugin loading: which file serves a plugin name, opening it,
// the initialisation handshake and the registry.

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include <boost/dll/shared_library.hpp>
#include <boost/make_shared.hpp>

#include "analysis/analyzer.h"
#include "engine/engine.h"
#include "engine/global_plugin_mutex.h"
#include "engine/plugin_file.h"
#include "foundation/exception.h"
#include "foundation/file.h"
#include "foundation/logger.h"
#include "foundation/string_utils.h"
#include "matcher/plugin_api.h"
#include "matcher/plugin_calls.h"
#include "matcher/plugin_collection.h"
#include "matcher/plugin_error.h"

#define PLUGIN_LOG(level, message)                                                                 \
    TRELIX_LOG(dez::wlog::channel_runtime, level, "[PLUGIN]:" << message)

namespace dez::trelix {

namespace fs = std::filesystem;

using dez::wlog::level_debug;
using dez::wlog::level_error;
using dez::wlog::level_trace;

namespace {

// What get_plugin hands out when there is no plugin to be had.
const boost::shared_ptr<plugins::API> no_plugin;

} // namespace

const boost::shared_ptr<plugins::API>& Engine::get_plugin(const std::string& name) const {
    // A plugin whose initialize analyses a document would lock the mutex
    // again and wait for itself.
    if (PluginInitializeScope::active())
        throw dez::Exception("The plugin '" + name +
                             "' cannot be looked up while a plugin initializes on this thread.");
    std::lock_guard<std::mutex> global(global_plugin_mutex);
    PLUGIN_LOG(level_trace, "get_plugin :" << name);
    auto found = plugins->find(name);
    if (found != plugins->end()) {
        PLUGIN_LOG(level_trace, "found !! plugin :" << name);
        return found->second;
    }
    PLUGIN_LOG(level_trace, "check_plugin_folder :" << name);
    check_plugin_folder((fs::path(root_path) / "lib").string());
    if (const char* variable = std::getenv("TRELIX_PLUGIN_DIR"))
        plugin_folder = variable;
    if (!dez::file::exists(plugin_folder)) {
        PLUGIN_LOG(level_trace, "cannot find plugin folder: " << plugin_folder);
        return no_plugin;
    }
    PLUGIN_LOG(level_trace, "exists :" << plugin_folder);
    const std::string file = generate_plugin_filename(plugin_folder, name);
    PLUGIN_LOG(level_trace, "file: " << file);
    if (file.empty() || !dez::file::exists(file)) {
        PLUGIN_LOG(level_trace, "cannot find plugin file: " << file);
        return no_plugin;
    }
    const std::string filename = fs::path(file).filename().string();
    PLUGIN_LOG(level_trace, "check: " << filename);
    PLUGIN_LOG(level_trace, "loading: " << file);
    const std::string base_name = dez::string::split_vector(filename, '.', false).front();
    load_plugin(file, base_name);

    std::lock_guard<std::mutex> lock(get_mutex());
    auto loaded = plugins->find(base_name);
    if (loaded == plugins->end()) {
        PLUGIN_LOG(level_debug, "cannot load plugin: " << file);
        return no_plugin;
    }
    // The file found for "dates" may be dates_plugin.so and the one for
    // "python" _trelix.so: the name asked for serves the plugin as well, so
    // the next request finds it without opening the library again.
    return plugins->emplace(name, loaded->second).first->second;
}

void Engine::load_plugin(const std::string& file, const std::string& base_name) const {
    PLUGIN_LOG(level_trace, "!!! load_plugin basename:" << base_name << " name:" << file);
    {
        std::lock_guard<std::mutex> lock(get_mutex());
        if (plugins->count(base_name))
            return;
    }
    PLUGIN_LOG(level_trace, "basename:" << base_name);
    PLUGIN_LOG(level_trace, "Shared Object File:" << file);
    try {
        auto library = boost::make_shared<boost::dll::shared_library>(
            boost::dll::fs::path(file),
            boost::dll::load_mode::rtld_global | boost::dll::load_mode::rtld_lazy);
        if (!library->is_loaded())
            throw std::system_error(std::make_error_code(std::errc::bad_file_descriptor),
                                    "no library handle");
        plugins::API& object = library->get<plugins::API>("plugin");
        // The handle keeps the library open as long as any copy of it lives.
        boost::shared_ptr<plugins::API> handle(library, &object);
        PLUGIN_LOG(level_trace, "Done Loading :" << file);
        PLUGIN_LOG(level_trace, base_name << " correct signature = OK");

        const std::string options_text = options->str();
        dez_exception record{};
        record.code = 0;
        // Only the process plugin lock is held here: a plugin that asks the
        // engine for a language or a domain while it starts must not wait on
        // the engine lock.
        bool usable = false;
        {
            PluginInitializeScope initializing;
            usable = handle->initialize(options_text.c_str(), &record);
        }
        plugins::raise_plugin_error(record);
        if (!usable)
            return;
        PLUGIN_LOG(level_trace, base_name << " Status = OK");
        std::lock_guard<std::mutex> lock(get_mutex());
        plugins->emplace(base_name, handle);
        if (base_name == "_trelix_plugin") {
            PLUGIN_LOG(level_trace, "Alias: "
                                        << "python"
                                        << "=" << base_name);
            plugins->emplace("python", handle);
        }
    } catch (const std::exception& e) {
        PLUGIN_LOG(level_error, "Could not load " << file << ":" << e.what());
        throw;
    }
}

void Engine::init_plugins() {
    dez::trelix::warm_up_plugin(this);
}

} // namespace dez::trelix

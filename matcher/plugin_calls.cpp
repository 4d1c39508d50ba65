#include "matcher/plugin_calls.h"
#include "matcher/plugin_error.h"

#include <cstring>
#include <stdexcept>

#include <boost/shared_ptr.hpp>

#include "document/blackboard.h"
#include "engine/engine_interface.h"
#include "foundation/dez_exception.h"
#include "foundation/logger.h"
#include "foundation/string_utils.h"
#include "matcher/plugin_api.h"
#include "matcher/runtime_context.h"

namespace dez::trelix::plugins {

namespace {

// Plugin, module and function of "::plugin::module::function"; empty names
// between colons are dropped, so single colons work as well. Logs and answers
// false for anything but three names.
bool split_uri(const std::string& uri, std::vector<std::string>& names) {
    names = dez::string::split_vector(uri, ":", true);
    if (names.size() == 3)
        return true;
    TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_error,
               "[PLUGIN]:Uri name does not match the plugin format call ::(.+)::(.+)::(.+) '"
                   << uri << "'");
    return false;
}

void log_not_loaded(const std::string& uri) {
    TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_info,
               "Either plugin not loaded or uri name does not start with :: from annotation '"
                   << uri << "'");
}

// Copies the plugin's text and hands the pointer back; null gives the empty
// text and is not handed back.
std::string take_result(API& plugin, const char* text) {
    if (!text) {
        TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_debug, "[PLUGIN]:[RETURN]NULLPTR");
        return {};
    }
    std::string result(text);
    TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_debug,
               "[PLUGIN]:[RETURN][" << result << "]");
    plugin.free_result(text);
    return result;
}

} // namespace

void set_plugin_context(API& plugin) {
    const runtime::Context& match = get_match_context();
    PluginContext context;
    context.document = match.document;
    context.sentence = match.sentence;
    context.capture_group = match.capture_group;
    context.concept = match.concept;
    plugin.set_context(&context);
}

std::string call_function_context(const EngineInterface* engine, const PluginOperation& operation,
                                  const std::string& function_uri,
                                  const std::vector<DataObject>& arguments) {
    TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_debug,
               "[PLUGIN]:call_function " << function_uri);
    std::vector<std::string> names;
    if (!split_uri(function_uri, names))
        return {};
    dez_exception record{};
    record.code = 0;
    boost::shared_ptr<API> plugin;
    try {
        if (engine)
            plugin = engine->get_plugin(names[0]);
    } catch (const std::out_of_range&) {
        log_not_loaded(function_uri);
        return {};
    }
    if (!plugin) {
        TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_error,
                   "Error cannot find plugin:" << names[0] << " from annotation " << function_uri);
        return {};
    }
    TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_debug,
               "[PLUGIN]:before set_plugin_context " << function_uri);
    set_plugin_context(*plugin);
    TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_debug,
               "[PLUGIN]:afther set_plugin_context " << function_uri);
    const std::string result = take_result(
        *plugin, operation(*plugin, names[1].c_str(), names[2].c_str(), arguments, &record));
    raise_plugin_error(record);
    return result;
}

std::string open_document(const EngineInterface* engine, const std::string& function_uri,
                          const std::vector<DataObject>& arguments) {
    return call_function_context(
        engine,
        [](API& plugin, const char* module, const char* function,
           const std::vector<DataObject>& values, dez_exception* record) {
            return plugin.open_document(module, function, values, record);
        },
        function_uri, arguments);
}

std::string close_document(const EngineInterface* engine, const std::string& function_uri,
                           const std::vector<DataObject>& arguments) {
    return call_function_context(
        engine,
        [](API& plugin, const char* module, const char* function,
           const std::vector<DataObject>& values, dez_exception* record) {
            return plugin.close_document(module, function, values, record);
        },
        function_uri, arguments);
}

std::string call(const EngineInterface* engine, const std::string& function_uri,
                 const std::vector<DataObject>& arguments) {
    TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_debug, "call " << function_uri);
    std::vector<std::string> names;
    if (!split_uri(function_uri, names))
        return {};
    dez_exception record{};
    record.code = 0;
    boost::shared_ptr<API> plugin;
    try {
        if (engine)
            plugin = engine->get_plugin(names[0]);
    } catch (const std::out_of_range&) {
        TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_error,
                   "Error cannot find plugin:" << names[0]);
        log_not_loaded(function_uri);
        return {};
    }
    if (!plugin)
        return {};
    const std::string result = take_result(
        *plugin, plugin->call(names[1].c_str(), names[2].c_str(), arguments, &record));
    raise_plugin_error(record);
    return result;
}

std::string call(const EngineInterface* engine, const std::string& function_uri) {
    return call(engine, function_uri, {});
}

runtime::Context& get_match_context() {
    thread_local runtime::Context context;
    return context;
}

void set_match_context(const runtime::Context& context) {
    runtime::Context& current = get_match_context();
    current.document = context.document;
    current.uri = context.uri;
    current.sentence = context.sentence;
    current.concept = context.concept;
    current.capture_group = context.capture_group;
}

std::string trigger(Blackboard& document, const std::string& function_uri,
                    const std::vector<DataObject>& /*arguments*/) {
    if (!document.allow_plugins())
        return {};
    TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_debug,
               "[PLUGIN]:call_function " << function_uri);
    const std::vector<std::string> names = dez::string::split_vector(function_uri, ":", true);
    if (names.size() != 3) {
        TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_error,
                   "[PLUGIN]:Uri name does not match the plugin format call ::(.+)::(.+)::(.+) '"
                       << function_uri << "'");
        return {};
    }
    // The plugin-loading work looks the plugin up through the document's
    // engine and calls it here; until then no plugin can be found.
    TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_error,
               "Error cannot find plugin:" << names[0] << " from annotation " << function_uri);
    return {};
}

void release_document(Blackboard& /*document*/) {
    // The plugin-calling work tells every plugin of the engine's collection
    // (but the one named "python") here; no plugin is loaded before it.
}

void release_document(const EngineInterface* /*engine*/) {
    // The plugin-calling work walks the engine's collection here; nothing can
    // be loaded into it before the plugin-loading work.
}

} // namespace dez::trelix::plugins

#include "matcher/plugin_calls.h"
#include "matcher/plugin_error.h"

#include <cstring>
#include <set>
#include <stdexcept>
#include <utility>

#include <boost/shared_ptr.hpp>

#include "document/blackboard.h"
#include "engine/engine_interface.h"
#include "engine/global_plugin_mutex.h"
#include "foundation/dez_exception.h"
#include "foundation/logger.h"
#include "foundation/string_utils.h"
#include "matcher/plugin_api.h"
#include "matcher/plugin_collection.h"
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

namespace {

// The steps a document-level and an engine-level call share: split the uri,
// look the plugin up, run `operation` and hand its text back. Only a
// document-level call hands over the match context and logs a missing plugin.
std::string call_plugin(const EngineInterface* engine, const PluginOperation& operation,
                        const std::string& function_uri, const std::vector<DataObject>& arguments,
                        bool document_level) {
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
        if (!document_level)
            TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_error,
                       "Error cannot find plugin:" << names[0]);
        log_not_loaded(function_uri);
        return {};
    }
    if (!plugin) {
        if (document_level)
            TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_error,
                       "Error cannot find plugin:" << names[0] << " from annotation "
                                                   << function_uri);
        return {};
    }
    if (document_level) {
        TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_debug,
                   "[PLUGIN]:before set_plugin_context " << function_uri);
        set_plugin_context(*plugin);
        TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_debug,
                   "[PLUGIN]:afther set_plugin_context " << function_uri);
    }
    const std::string result = take_result(
        *plugin, operation(*plugin, names[1].c_str(), names[2].c_str(), arguments, &record));
    raise_plugin_error(record);
    return result;
}

// API::release_document on every object of the collection once, in name
// order, but not on "python". The entries are copied under the plugin mutex
// (a lookup may add one meanwhile) and called without it.
void release_plugins(const std::shared_ptr<PluginCollection>& collection) {
    if (!collection)
        return;
    std::vector<std::pair<std::string, boost::shared_ptr<API>>> entries;
    {
        PluginCollectionReadLock lock;
        entries.assign(collection->begin(), collection->end());
    }
    // A plugin may stand under two names; it releases its document once.
    std::set<const API*> released;
    for (const auto& [name, plugin] : entries) {
        if (name == "python" || !plugin || !released.insert(plugin.get()).second)
            continue;
        dez_exception record{};
        record.code = 0;
        plugin->release_document(&record);
        raise_plugin_error(record);
    }
}

} // namespace

std::string call_function_context(const EngineInterface* engine, const PluginOperation& operation,
                                  const std::string& function_uri,
                                  const std::vector<DataObject>& arguments) {
    TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_debug,
               "[PLUGIN]:call_function " << function_uri);
    return call_plugin(engine, operation, function_uri, arguments, true);
}

std::string open_document(const EngineInterface* engine, const std::string& function_uri,
                          const std::vector<DataObject>& arguments) {
    return call_function_context(engine, &API::open_document, function_uri, arguments);
}

std::string close_document(const EngineInterface* engine, const std::string& function_uri,
                           const std::vector<DataObject>& arguments) {
    return call_function_context(engine, &API::close_document, function_uri, arguments);
}

std::string call(const EngineInterface* engine, const std::string& function_uri,
                 const std::vector<DataObject>& arguments) {
    TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_debug, "call " << function_uri);
    return call_plugin(engine, &API::call, function_uri, arguments, false);
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
                    const std::vector<DataObject>& arguments) {
    if (!document.allow_plugins())
        return {};
    return call_function_context(document.engine(), &API::trigger, function_uri, arguments);
}

void release_document(Blackboard& document) {
    // The engine stays alive while its plugins hear of the document.
    const std::shared_ptr<EngineInterface> engine = document.engine_ptr;
    if (!engine)
        return;
    release_plugins(engine->get_plugins_ptr());
}

void release_document(const EngineInterface* engine) {
    if (engine)
        release_plugins(engine->get_plugins_ptr());
}

} // namespace dez::trelix::plugins

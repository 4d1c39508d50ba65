#include "matcher/plugin_calls.h"

#include "document/blackboard.h"
#include "foundation/logger.h"
#include "foundation/string_utils.h"
#include "matcher/runtime_context.h"

namespace dez::trelix::plugins {

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
    const std::vector<std::string> pieces = dez::string::split_vector(function_uri, ":", true);
    if (pieces.size() != 3) {
        TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_error,
                   "[PLUGIN]:Uri name does not match the plugin format call ::(.+)::(.+)::(.+) '"
                       << function_uri << "'");
        return {};
    }
    // The plugin-loading work looks the plugin up through the document's
    // engine and calls it here; until then no plugin can be found.
    TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_error,
               "Error cannot find plugin:" << pieces[0] << " from annotation " << function_uri);
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

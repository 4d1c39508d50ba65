#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct dez_exception;

namespace dez::trelix {

class Blackboard;
class EngineInterface;

namespace runtime {
struct Context;
}

namespace plugins {

class API;

// One argument of a plugin function; kind 1 is a text, borrowed for the call.
struct DataObject {
    int32_t type = 1;
    const char* value = nullptr;
};

// This thread's match context, empty until first set.
runtime::Context& get_match_context();
// Copies the context's document, uri, sentence, concept and capture group.
void set_match_context(const runtime::Context& context);

// A document-level plugin operation: (plugin, module, function, arguments,
// error record) to the plugin's own text, or null.
using PluginOperation = std::function<const char*(API&, const char*, const char*,
                                                  const std::vector<DataObject>&, dez_exception*)>;

// Hands the plugin this thread's match context.
void set_plugin_context(API& plugin);

// Calls `operation` on the plugin that `function_uri` ("::plugin::module::
// function") names, after handing it the thread's match context. The empty
// text when the uri is malformed or the plugin cannot be found; a failure the
// plugin reports is raised after its text went back to it.
std::string call_function_context(const EngineInterface* engine, const PluginOperation& operation,
                                  const std::string& function_uri,
                                  const std::vector<DataObject>& arguments);
// The document hooks: API::open_document and API::close_document.
std::string open_document(const EngineInterface* engine, const std::string& function_uri,
                          const std::vector<DataObject>& arguments);
std::string close_document(const EngineInterface* engine, const std::string& function_uri,
                           const std::vector<DataObject>& arguments);

// An engine-level call (API::call): no document, no match context.
std::string call(const EngineInterface* engine, const std::string& function_uri,
                 const std::vector<DataObject>& arguments);
std::string call(const EngineInterface* engine, const std::string& function_uri);

// Calls the plugin function `function_uri` ("::plugin::module::function") for
// the document and returns its text; the empty text when the document does not
// allow plugins, the uri is malformed or the plugin cannot be found.
std::string trigger(Blackboard& document, const std::string& function_uri,
                    const std::vector<DataObject>& arguments);

// Asks every plugin object of the engine's collection, in name order, to
// release its current document: once per object (an alias is skipped), never
// under the name "python". The first failure a plugin reports is raised.
void release_document(const EngineInterface* engine);

// The same over the collection of the document's engine, which it keeps
// alive meanwhile; nothing when the document has no engine yet.
void release_document(Blackboard& document);

} // namespace plugins
} // namespace dez::trelix

#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace dez::trelix {

class Blackboard;
class EngineInterface;

namespace runtime {
struct Context;
}

namespace plugins {

// One argument of a plugin function; kind 1 is a text, borrowed for the call.
struct DataObject {
    int32_t type = 1;
    const char* value = nullptr;
};

// This thread's match context, empty until first set.
runtime::Context& get_match_context();
// Copies the context's document, uri, sentence, concept and capture group.
void set_match_context(const runtime::Context& context);

// Calls the plugin function `function_uri` ("::plugin::module::function") for
// the document and returns its text; the empty text when the document does not
// allow plugins, the uri is malformed or the plugin cannot be found.
std::string trigger(Blackboard& document, const std::string& function_uri,
                    const std::vector<DataObject>& arguments);

// Tells the plugins that the document goes away.
void release_document(Blackboard& document);

// Asks every plugin of the engine but "python" to release its current
// document; the engine calls it as it goes away.
void release_document(const EngineInterface* engine);

} // namespace plugins
} // namespace dez::trelix

#pragma once

#include <vector>

#include "foundation/dez_exception.h"
#include "matcher/plugin_calls.h"

namespace dez::trelix {
class Blackboard;
class Concept;
struct SentenceInfo;
} // namespace dez::trelix

namespace dez::trelix::plugins {

// What a plugin sees of the current match during a call; lives only for
// that call, so a plugin copies what it keeps.
struct PluginContext {
    Blackboard* document = nullptr;
    SentenceInfo* sentence = nullptr;
    Concept* capture_group = nullptr;
    Concept* concept = nullptr;
};

// The object a plugin library exports under the symbol "plugin". Plugins are
// built apart, so the order of these operations is fixed. Text arguments are
// NUL-terminated and valid only during the call; operations taking an error
// record never throw and report failures there. Returned texts belong to the
// plugin and go back through free_result.
class API {
public:
    // Engine options as JSON text; true when the plugin is usable.
    virtual bool initialize(const char* options_json, dez_exception* error) = 0;
    virtual const char* open_document(const char* module, const char* function,
                                      const std::vector<DataObject>& arguments,
                                      dez_exception* error) = 0;
    virtual const char* close_document(const char* module, const char* function,
                                       const std::vector<DataObject>& arguments,
                                       dez_exception* error) = 0;
    virtual const char* call(const char* module, const char* function,
                             const std::vector<DataObject>& arguments, dez_exception* error) = 0;
    virtual const char* trigger(const char* module, const char* function,
                                const std::vector<DataObject>& arguments, dez_exception* error) = 0;
    virtual void release_document(dez_exception* error) = 0;
    virtual void free_result(const char* text) = 0;
    virtual void shutdown(dez_exception* error) = 0;
    virtual void set_context(PluginContext* context) = 0;
    virtual void set_document_property(const char* key, const char* value,
                                       dez_exception* error) = 0;

protected:
    // The library that made the object destroys it.
    ~API() = default;
};

} // namespace dez::trelix::plugins

#pragma once

#include <functional>
#include <map>
#include <string>
#include <utility>

namespace dez::trelix {

class Blackboard;

namespace runtime {
struct Context;
}

// When a built-in function runs: inside apply_function, or from the
// document's delayed queue once the rule's matches are all inserted.
enum class execution_time : int {
    immediate = 0,
    delayed = 1,
};

// A rule action; its answer text is not used by the dispatcher.
using ActionHandler = std::function<std::string(const runtime::Context&)>;

// Built-in function name to its execution time and handler. Fixed at load.
extern const std::map<std::string, std::pair<execution_time, ActionHandler>> action_registry;

// True for "tlx::" and "::" (plugin) uris.
bool is_function(const std::string& uri);

// Runs the action named by the context's uri now, or queues it on the
// document, as its registration says. Plugin uris ("::...") are always
// queued; an unknown "tlx::" name does nothing.
void apply_function(Blackboard& document, const runtime::Context& context);

} // namespace dez::trelix

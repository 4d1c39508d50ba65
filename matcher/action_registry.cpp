#include "matcher/action_registry.h"

#include "document/blackboard.h"
#include "matcher/plugin_handler.h"
#include "matcher/runtime_context.h"

namespace dez::trelix {

namespace {

// Stand-in for the bodies of the built-in actions (filter, push_att,
// inherit, rewrite, metadata, date, memento and anaphora handlers), which the
// rule-action work supplies; until then a registered action runs or is queued
// at its proper time and changes nothing.
std::string action_not_built(const runtime::Context&) {
    return {};
}

bool starts_with(const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
}

} // namespace

const std::map<std::string, std::pair<execution_time, ActionHandler>> action_registry{
    {"tlx::anaphora", {execution_time::delayed, action_not_built}},
    {"tlx::filter", {execution_time::immediate, action_not_built}},
    {"tlx::delete", {execution_time::immediate, action_not_built}},
    {"tlx::rewrite", {execution_time::immediate, action_not_built}},
    {"tlx::push_att", {execution_time::delayed, action_not_built}},
    {"tlx::inherit", {execution_time::delayed, action_not_built}},
    {"tlx::set_document_date", {execution_time::immediate, action_not_built}},
    {"tlx::resolve_date", {execution_time::delayed, action_not_built}},
    {"tlx::set_memento", {execution_time::immediate, action_not_built}},
    {"tlx::has_memento", {execution_time::immediate, action_not_built}},
    {"tlx::set_metadata", {execution_time::delayed, action_not_built}},
};

bool is_function(const std::string& uri) {
    return starts_with(uri, "tlx::") || starts_with(uri, "::");
}

void apply_function(Blackboard& document, const runtime::Context& context) {
    auto found = action_registry.find(context.uri);
    if (found != action_registry.end()) {
        const auto& [when, handler] = found->second;
        if (when == execution_time::immediate)
            handler(context);
        else
            document.delayed_functions.emplace_back(handler, context);
        return;
    }
    // Named filters ("tlx::filter_people") act like the filter itself.
    if (starts_with(context.uri, "tlx::filter")) {
        action_registry.at("tlx::filter").second(context);
        return;
    }
    if (starts_with(context.uri, "::"))
        document.delayed_functions.emplace_back(PluginHandler(), context);
}

} // namespace dez::trelix

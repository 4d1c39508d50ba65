#include "document/attribute_resolution.h"

#include <algorithm>
#include <exception>
#include <vector>

#include "analysis/analyzer.h"
#include "analysis/analyzer_guard.h"
#include "compiler/frontend/check_fstring_pattern.h"
#include "document/blackboard.h"
#include "foundation/logger.h"
#include "matcher/plugin_calls.h"
#include "matcher/runtime_context.h"

namespace dez::trelix {

namespace {

const std::string default_resolve_function = "::python::trelix.plugin::resolve_formated_attribute";

const std::string& resolve_function(const Blackboard& document) {
    const AnalyzerGuard* guard = document.analyzer_guard.get();
    if (!guard || !guard->analyzer)
        return default_resolve_function;
    return guard->analyzer->resolve_formated_attribute_function;
}

} // namespace

std::string resolve_attribute(Blackboard& document, const std::string& format,
                              runtime::Context& context) {
    if (dez::compiler::check_fstring_pattern(format) <= 0)
        return {};
    plugins::set_match_context(context);
    Blackboard& target = context.document ? *context.document : document;
    const std::vector<plugins::DataObject> arguments{{1, format.c_str()}};
    return plugins::trigger(target, resolve_function(document), arguments);
}

void resolve_attributes(Blackboard& document, Attributes& attributes, runtime::Context& context) {
    resolve_attributes(document, attributes, context, &resolve_attribute);
}

void resolve_attributes(Blackboard& document, Attributes& attributes, runtime::Context& context,
                        const AttributeResolver& resolve) {
    bool dropped = false;
    for (auto& entry : attributes) {
        auto* value = boost::any_cast<AttributeFormatValue>(&entry.second);
        if (!value || !value->value.empty())
            continue;
        // Plain text written as a format needs no plugin.
        if (dez::compiler::check_fstring_pattern(value->format) == 0) {
            value->value = value->format;
            if (!value->value.empty())
                continue;
        } else if (document.allow_plugins()) {
            try {
                value->value = resolve(document, value->format, context);
            } catch (const std::exception& e) {
                TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_error,
                           "cannot resolve attribute " << entry.first << "=\"" << value->format
                                                       << "\": " << e.what());
                value->value.clear();
            }
            if (!value->value.empty())
                continue;
        }
        entry.second = AttributeFormatInvalidValue();
        dropped = true;
    }
    if (!dropped)
        return;
    attributes.erase(std::remove_if(attributes.begin(), attributes.end(),
                                    [](const std::pair<std::string, boost::any>& entry) {
                                        return entry.second.type() ==
                                               typeid(AttributeFormatInvalidValue);
                                    }),
                     attributes.end());
}

} // namespace dez::trelix

#include "document/option_anywhere.h"

#include "analysis/analyzer.h"
#include "analysis/analyzer_guard.h"
#include "document/blackboard.h"

namespace dez::trelix {

namespace {

const dez::IOptions* document_options(const Blackboard& blackboard, const char* key) {
    const dez::IOptions* options = blackboard.options.get();
    return options && options->has(key) ? options : nullptr;
}

// Through the guard, which keeps the analyzer after release_analyzer.
const dez::IOptions* analyzer_options(const Blackboard& blackboard) {
    const AnalyzerGuard* guard = blackboard.analyzer_guard.get();
    if (!guard || !guard->analyzer)
        return nullptr;
    return guard->analyzer->options.get();
}

} // namespace

std::string OptionAnywhere::get(const char* key) const {
    if (const dez::IOptions* options = document_options(blackboard, key))
        return options->get(key);
    if (const dez::IOptions* options = analyzer_options(blackboard))
        return options->get(key);
    return {};
}

std::string OptionAnywhere::get(const char* key, std::string default_value) const {
    if (const dez::IOptions* options = document_options(blackboard, key))
        return options->get(key, default_value);
    if (const dez::IOptions* options = analyzer_options(blackboard))
        return options->get(key, default_value);
    return default_value;
}

bool OptionAnywhere::get_bool(const char* key, bool default_value) const {
    if (const dez::IOptions* options = document_options(blackboard, key))
        return options->get_bool(key, default_value);
    if (const dez::IOptions* options = analyzer_options(blackboard))
        return options->get_bool(key, default_value);
    return default_value;
}

std::string OptionAnywhere::str() const {
    const Analyzer* analyzer = blackboard.analyzer.get();
    if (!analyzer || !analyzer->options)
        return {};
    return analyzer->options->str();
}

bool OptionAnywhere::has(const char* key) const {
    if (document_options(blackboard, key))
        return true;
    const dez::IOptions* options = analyzer_options(blackboard);
    return options && options->has(key);
}

void OptionAnywhere::add(const std::string& /*key*/, const std::string& /*value*/) {}

} // namespace dez::trelix

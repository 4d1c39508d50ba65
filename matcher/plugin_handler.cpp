#include "matcher/plugin_handler.h"

#include <vector>

#include "matcher/plugin_calls.h"
#include "matcher/runtime_context.h"

namespace dez::trelix {

std::string PluginHandler::operator()(const runtime::Context& context) const {
    if (!context.document)
        return {};
    plugins::set_match_context(context);
    return plugins::trigger(*context.document, context.uri, {});
}

} // namespace dez::trelix

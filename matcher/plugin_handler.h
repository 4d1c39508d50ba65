#pragma once

#include <string>

namespace dez::trelix {

namespace runtime {
struct Context;
}

// The queued call of a plugin function: the context's uri, no arguments.
struct PluginHandler {
    // Hands the context to the plugins, then triggers the uri; the plugin's
    // answer.
    std::string operator()(const runtime::Context& context) const;
};

} // namespace dez::trelix

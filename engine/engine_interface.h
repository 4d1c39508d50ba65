#pragma once

#include <memory>

#include "foundation/options.h"

namespace dez::trelix {

class LanguageModule;

namespace plugins {
class PluginCollection;
}

// The engine as documents and stores see it. Only the operations documents
// use so far are declared; the engine work adds the other operations (in
// their order) and the engine itself.
class EngineInterface {
public:
    // The language module that the option "language" selects.
    virtual std::shared_ptr<LanguageModule>
    get_language_module(const std::shared_ptr<dez::IOptions>& options) const = 0;
    // The engine's plugin collection; a document keeps it while it lives.
    virtual std::shared_ptr<plugins::PluginCollection> get_plugins_ptr() const = 0;
    virtual ~EngineInterface() = default;
};

} // namespace dez::trelix

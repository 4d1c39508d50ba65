#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <boost/shared_ptr.hpp>

#include "engine/domain_collection.h"
#include "foundation/options.h"

namespace dez {
class Regex;
}

namespace dez::afst {
class AFst;
}

namespace dez::trelix {

class LanguageModule;

namespace plugins {
class API;
class PluginCollection;
} // namespace plugins

// The engine as documents, analyzers, domains and plugins see it. Plugins
// are handed this interface, so the order of the operations below belongs to
// their contract: add new ones at the end only.
class EngineInterface {
public:
    // The language module that the option "language" selects.
    virtual std::shared_ptr<LanguageModule>
    get_language_module(const std::shared_ptr<dez::IOptions>& options) const = 0;
    virtual std::shared_ptr<LanguageModule>
    get_language_module(const std::string& language) const = 0;
    // The domain with the domains it needs, in run order (the domain last).
    virtual DomainCollection get_domains(const std::string& name, bool cache) const = 0;
    // The `.dom` file of a domain name or pipeline text.
    virtual std::string get_domain_filename(const std::string& name) const = 0;
    virtual plugins::PluginCollection* get_plugins() const = 0;
    // The engine's plugin collection; a document keeps it while it lives.
    virtual std::shared_ptr<plugins::PluginCollection> get_plugins_ptr() const = 0;
    // The plugin of that name, loaded on first use; an empty handle when none.
    virtual const boost::shared_ptr<plugins::API>& get_plugin(const std::string& name) const = 0;
    virtual void release_domains() = 0;
    virtual bool release_language(const std::string& key) = 0;
    virtual bool release_domain(const std::string& name) = 0;
    // Purges languages and domains now by the given JSON purge settings.
    virtual bool purge_domains(const std::string& settings) = 0;
    virtual void init_plugins() = 0;
    virtual void collect_volume_size(uint64_t size) const = 0;
    // An engine option; fails for an absent or empty one.
    virtual std::string property(const std::string& name) const = 0;
    virtual std::string info() const = 0;
    virtual std::string languages() const = 0;
    virtual std::shared_ptr<dez::afst::AFst> get_language_identifier_data() const = 0;
    // The interval purge of idle languages; the caller holds the engine lock.
    virtual void check_language_purge() const = 0;
    virtual void check_language_file(const std::string& filename) const = 0;
    // The interval purge of idle domains; the caller holds the engine lock.
    virtual void check_domain_purge() const = 0;
    // A case-sensitive expression, compiled once per engine.
    virtual dez::Regex get_regex(const std::string& pattern) const = 0;
    virtual ~EngineInterface() = default;
};

} // namespace dez::trelix

#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "engine/engine_interface.h"
#include "foundation/regex_factory.h"

namespace dez::trelix {

class DomainFacade;
class DomainStore;
class LanguageModuleData;
class ResourceManagment;

// The process-level object that analyses and loaded domains hang off: it
// settles the root and language-data folders, caches language modules,
// domains and morph transducers, purges idle ones and loads plugins. Lives in
// a shared pointer; one non-recursive mutex guards its caches.
class Engine : public EngineInterface, public std::enable_shared_from_this<Engine> {
public:
    // Works on its own copy of `options` (the caller's object is left as it
    // is). Fails with dez::Exception when the root or a data folder does not
    // exist or "resource_manager_config" is malformed.
    explicit Engine(const std::shared_ptr<dez::IOptions>& options);
    ~Engine() override;
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    std::shared_ptr<LanguageModule>
    get_language_module(const std::shared_ptr<dez::IOptions>& options) const override;
    std::shared_ptr<LanguageModule> get_language_module(const std::string& language) const override;
    DomainCollection get_domains(const std::string& name, bool cache) const override;
    std::string get_domain_filename(const std::string& name) const override;
    plugins::PluginCollection* get_plugins() const override;
    std::shared_ptr<plugins::PluginCollection> get_plugins_ptr() const override;
    const boost::shared_ptr<plugins::API>& get_plugin(const std::string& name) const override;
    void release_domains() override;
    bool release_language(const std::string& key) override;
    bool release_domain(const std::string& name) override;
    bool purge_domains(const std::string& settings) override;
    void init_plugins() override;
    void collect_volume_size(uint64_t size) const override;
    std::string property(const std::string& name) const override;
    std::string info() const override;
    std::string languages() const override;
    std::shared_ptr<dez::afst::AFst> get_language_identifier_data() const override;
    void check_language_purge() const override;
    void check_language_file(const std::string& filename) const override;
    void check_domain_purge() const override;
    dez::Regex get_regex(const std::string& pattern) const override;

    // A language request with the engine lock already held: resolves the
    // language to its `.language` file, serves it from the cache or loads it,
    // falls back to the generic module for the languages that have none of
    // their own, and runs the interval purge. Options read: "language",
    // "project_path".
    std::shared_ptr<LanguageModule>
    get_language_module_nolock(const std::shared_ptr<dez::IOptions>& options) const;

    virtual std::mutex& get_mutex() const;
    // Erase one language cache entry (any spelling of its path); the caller
    // holds the lock. False when absent.
    virtual bool release_language_no_lock(const std::string& key) const;
    virtual bool release_domain_no_lock(const std::string& name);

    // The interval purges of a request that has just handed out `in_use`
    // (a language key or domain name), which they keep.
    void check_language_purge(const std::string& in_use) const;
    void check_domain_purge(const std::string& in_use) const;

    // The engine's transducer of a morph file, read again when the file's
    // write time has grown; the caller holds the lock. Failures of load_afst
    // pass through and leave the cache as it was.
    std::shared_ptr<dez::afst::AFst> get_afst(const std::string& filename) const;

    // The plugin folder becomes TRELIX_PLUGIN_DIR when set, and `folder` when
    // that exists.
    void check_plugin_folder(const std::string& folder) const;

    // Fills `out` with the domain `name` and the domains it needs, in run
    // order. The lock is taken only around store accesses: reading a domain
    // from disk (or building it) runs without it, so a build that calls back
    // into the engine cannot deadlock. With `cache` the requested domain is
    // stored; dependencies always are. "Cannot find domain file " + name when
    // a first load, a reload or a dependency finds nothing; nothing empty is
    // stored.
    void get_domain_collection(DomainCollection& out, const std::string& name, bool cache) const;
    // Places the dependencies of `facade` into `out`, recursively, storing
    // them in `store`. Takes the lock around store accesses only: the caller
    // must not hold it.
    void load_domain_dependencies(std::shared_ptr<DomainFacade> facade, DomainCollection& out,
                                  std::shared_ptr<DomainStore> store) const;
    // Adds the `.dom` paths of every direct and indirect dependency of
    // `facade` to `files`. Domains already placed in `placed` are reused
    // instead of loaded again. Same locking as above.
    void collect_dependencies(std::shared_ptr<DomainFacade> facade, std::set<std::string>& files,
                              std::shared_ptr<DomainStore> store,
                              const DomainCollection* placed = nullptr) const;

    // Opens a plugin library, hands it the engine options and registers its
    // plugin object under `base_name` (and "python" for "_trelix_plugin").
    // The plugin's initialize runs without the engine lock (only the process
    // plugin lock is held), so a plugin may ask the engine for languages or
    // domains while it starts. Error codes 1 to 5 of initialize raise.
    void load_plugin(const std::string& file, const std::string& base_name) const;

    mutable std::string plugin_folder;
    std::string root_path;
    // Canonical language-data folders in search order.
    std::vector<std::string> search_paths;
    std::shared_ptr<dez::IOptions> options;
    // By the canonical path of their `.language` file.
    mutable std::map<std::string, std::shared_ptr<LanguageModuleData>> language_modules;
    std::shared_ptr<DomainStore> domain_store;
    mutable std::mutex mutex;
    std::shared_ptr<plugins::PluginCollection> plugins;
    // Morph transducers shared by all language modules, by file name.
    mutable std::map<std::string, std::shared_ptr<dez::afst::AFst>> afsts;
    mutable std::shared_ptr<dez::afst::AFst> lid_data;
    // get_regex serves analyses on several threads without the engine lock.
    mutable std::mutex regex_mutex;
    mutable dez::RegexFactory regex_factory;
    std::shared_ptr<ResourceManagment> resource_manager;

private:
    // A dependency from the store (by key or by file), from `placed`, or
    // read anew (then `loaded` is set); the folder of `from` is searched
    // first.
    std::shared_ptr<DomainFacade> find_or_load_dependency(const std::string& resolved,
                                                          const DomainFacade& from,
                                                          const DomainCollection* placed,
                                                          std::shared_ptr<DomainStore> store,
                                                          bool log, bool& loaded) const;
};

} // namespace dez::trelix

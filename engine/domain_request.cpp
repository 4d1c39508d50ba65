// The engine's domain requests: the store with its freshness check, and the
// placement of every domain a requested one needs in front of it.

#include <filesystem>
#include <functional>
#include <set>

#include <nlohmann/json.hpp>

#include "domain/domain_facade.h"
#include "domain/load_domain.h"
#include "domain/pipeline_expansion.h"
#include "engine/add_domain.h"
#include "engine/domain_freshness.h"
#include "engine/domain_store.h"
#include "engine/engine.h"
#include "foundation/exception.h"
#include "foundation/file.h"
#include "foundation/logger.h"

namespace dez::trelix {

namespace fs = std::filesystem;

using dez::wlog::channel_runtime;
using dez::wlog::level_info;
using dez::wlog::level_trace;

namespace {

// The "dependencies" of a domain's `.dom_info`; null when it names none.
const nlohmann::json* dependencies_of(const DomainFacade& facade) {
    if (!facade.dom_info || !facade.dom_info->is_object())
        return nullptr;
    const auto info = facade.dom_info->find("dom_info");
    if (info == facade.dom_info->end() || !info->is_object())
        return nullptr;
    const auto dependencies = info->find("dependencies");
    if (dependencies == info->end())
        return nullptr;
    TRELIX_LOG(channel_runtime, level_trace,
               "[Dependencies] "
                   << "dom_info dependencies:" << dependencies->dump());
    return &*dependencies;
}

bool is_placed(const DomainCollection& out, const DomainFacade& facade) {
    for (const auto& entry : out)
        if (entry.second &&
            same_domain_file(entry.second->get_sqlite_filename(), facade.get_sqlite_filename()))
            return true;
    return false;
}

} // namespace

DomainCollection Engine::get_domains(const std::string& name, bool cache) const {
    DomainCollection out;
    get_domain_collection(out, name, cache);
    return out;
}

void Engine::get_domain_collection(DomainCollection& out, const std::string& name,
                                   bool cache) const {
    TRELIX_LOG(channel_runtime, level_trace,
               "[Domain] "
                   << "get_domain_collection " << name << "cache:" << (cache ? 1 : 0));
    std::string key = name;
    std::shared_ptr<DomainFacade> cached;
    {
        std::lock_guard<std::mutex> lock(get_mutex());
        cached = domain_store->find(name);
    }
    if (!cached) {
        // A domain first met as a dependency is stored under its resolved
        // path; asking for it by name must not load it a second time.
        std::string resolved;
        try {
            resolved = get_domain_filename(name);
        } catch (const std::exception&) {
            // The load below reports a name that resolves to nothing.
        }
        std::lock_guard<std::mutex> lock(get_mutex());
        auto found = domain_store->find_file(resolved);
        if (found.second) {
            key = found.first;
            cached = found.second;
        }
    }

    const std::string& store_name = domain_store->name;
    if (cached && !domains_need_to_be_recompiled(*cached, name)) {
        TRELIX_LOG(channel_runtime, level_info,
                   "[Domain] "
                       << "[" << store_name << "]: using cached : " << name);
        add_domain(out, name, cached, {});
        load_domain_dependencies(cached, out, domain_store);
        cached->touch();
    } else {
        if (cached)
            TRELIX_LOG(channel_runtime, level_info,
                       "[Domain] "
                           << "[" << store_name << "]: reload: " << name);
        else
            TRELIX_LOG(channel_runtime, level_info,
                       "[Domain] "
                           << "[" << store_name << "]: load : " << name);
        auto facade = std::make_shared<DomainFacade>(name);
        // Read without the lock: a load may take long or build the domain.
        if (!load_domain(*facade, search_paths, name))
            throw dez::Exception("Cannot find domain file " + name);
        add_domain(out, name, facade, {});
        load_domain_dependencies(facade, out, domain_store);
        if (cache) {
            facade->touch();
            std::lock_guard<std::mutex> lock(get_mutex());
            domain_store->domains[key] = facade;
        }
    }
    std::lock_guard<std::mutex> lock(get_mutex());
    check_domain_purge(key);
}

std::shared_ptr<DomainFacade> Engine::find_or_load_dependency(const std::string& resolved,
                                                              const DomainFacade& from,
                                                              const DomainCollection* placed,
                                                              std::shared_ptr<DomainStore> store,
                                                              bool log, bool& loaded) const {
    loaded = false;
    std::shared_ptr<DomainFacade> facade;
    {
        std::lock_guard<std::mutex> lock(get_mutex());
        facade = store->find(resolved);
        if (!facade)
            facade = store->find_file(resolved).second;
    }
    if (!facade && placed) {
        for (const auto& entry : *placed)
            if (entry.second && same_domain_file(entry.second->get_sqlite_filename(), resolved))
                facade = entry.second;
    }
    if (facade) {
        TRELIX_LOG(channel_runtime, level_trace,
                   "[Dependencies] "
                       << " - from store:" << resolved);
        return facade;
    }
    if (log)
        TRELIX_LOG(channel_runtime, level_trace,
                   "[Dependencies] "
                       << " - load_domain: " << resolved);
    std::vector<std::string> folders{fs::path(from.get_sqlite_filename()).parent_path().string()};
    folders.insert(folders.end(), search_paths.begin(), search_paths.end());
    facade = std::make_shared<DomainFacade>(resolved);
    if (!load_domain(*facade, folders, resolved))
        throw dez::Exception("Cannot find domain file " + resolved);
    loaded = true;
    return facade;
}

void Engine::load_domain_dependencies(std::shared_ptr<DomainFacade> facade, DomainCollection& out,
                                      std::shared_ptr<DomainStore> store) const {
    if (!facade->dom_info)
        return;
    TRELIX_LOG(channel_runtime, level_trace,
               "[Dependencies] "
                   << "load_domain_dependencies " << facade->get_sqlite_filename());
    const nlohmann::json* dependencies = dependencies_of(*facade);
    if (!dependencies)
        return;
    // Copied: a recursion below must not walk a value it could outlive.
    const nlohmann::json names = *dependencies;
    std::vector<std::string> ordered;
    for (const auto& element : names)
        ordered.push_back(element.get<std::string>());
    for (auto it = ordered.rbegin(); it != ordered.rend(); ++it) {
        const std::string resolved = get_domain_filename(*it);
        bool loaded = false;
        auto dependency = find_or_load_dependency(resolved, *facade, &out, store, true, loaded);
        if (is_placed(out, *dependency))
            continue;
        if (loaded) {
            std::lock_guard<std::mutex> lock(get_mutex());
            store->domains[resolved] = dependency;
        }
        std::set<std::string> files;
        collect_dependencies(dependency, files, store, &out);
        add_domain(out, resolved, dependency, files);
        load_domain_dependencies(dependency, out, store);
    }
}

void Engine::collect_dependencies(std::shared_ptr<DomainFacade> facade,
                                  std::set<std::string>& files, std::shared_ptr<DomainStore> store,
                                  const DomainCollection* placed) const {
    // Domains whose dependencies were already walked, so that cycles end
    // while indirect dependencies are still reached.
    std::set<std::string> visited;
    std::function<void(const std::shared_ptr<DomainFacade>&)> walk =
        [&](const std::shared_ptr<DomainFacade>& current) {
            if (!current->dom_info || !visited.insert(current->get_sqlite_filename()).second)
                return;
            const nlohmann::json* dependencies = dependencies_of(*current);
            if (!dependencies)
                return;
            const nlohmann::json names = *dependencies;
            for (const auto& element : names) {
                const std::string resolved = get_domain_filename(element.get<std::string>());
                bool loaded = false;
                auto dependency =
                    find_or_load_dependency(resolved, *current, placed, store, false, loaded);
                dependency->touch();
                if (files.count(resolved))
                    continue;
                if (loaded) {
                    std::lock_guard<std::mutex> lock(get_mutex());
                    store->domains[resolved] = dependency;
                }
                files.insert(dependency->get_sqlite_filename());
                walk(dependency);
            }
        };
    walk(facade);
}

std::string Engine::get_domain_filename(const std::string& name) const {
    if (dez::file::exists(name))
        return name;
    return dez::pipeline::find_domain_file(name, search_paths, true);
}

} // namespace dez::trelix

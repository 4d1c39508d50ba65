#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>

namespace dez::trelix {

class DomainFacade;

// Loaded domains kept for later requests. The domain-collection work adds the
// lookup that falls back to the parent store.
class DomainStore {
public:
    explicit DomainStore(const std::string& name, std::shared_ptr<DomainStore> parent = nullptr)
        : name(name), parent(std::move(parent)) {}

    // Shown in log lines; the engine's store is "Engine".
    std::string name;
    // By the name the domain was asked for or resolved to.
    std::map<std::string, std::shared_ptr<DomainFacade>> domains;
    std::shared_ptr<DomainStore> parent;
};

} // namespace dez::trelix

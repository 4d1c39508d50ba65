#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>

namespace dez::trelix {

class DomainFacade;

// Loaded domains kept for later requests. The engine guards its store with
// its lock.
class DomainStore {
public:
    explicit DomainStore(const std::string& name, std::shared_ptr<DomainStore> parent = nullptr)
        : name(name), parent(std::move(parent)) {}

    // The domain stored under `name` here, else in the parent store; null when
    // neither has it.
    std::shared_ptr<DomainFacade> find(const std::string& name) const;
    // The key and domain of the entry whose `.dom` file is `filename` (the
    // same file under another spelling counts), here or in the parent; a
    // domain asked for by name and met again as a resolved dependency path
    // is one entry. Null when there is none.
    std::pair<std::string, std::shared_ptr<DomainFacade>>
    find_file(const std::string& filename) const;

    // Shown in log lines; the engine's store is "Engine".
    std::string name;
    // By the name the domain was asked for or resolved to.
    std::map<std::string, std::shared_ptr<DomainFacade>> domains;
    std::shared_ptr<DomainStore> parent;
};

// Whether two `.dom` paths name one file: equal texts, or one existing file.
bool same_domain_file(const std::string& a, const std::string& b);

} // namespace dez::trelix

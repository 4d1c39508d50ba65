#include "engine/domain_store.h"

#include <filesystem>
#include <system_error>

#include "domain/domain_facade.h"

namespace dez::trelix {

std::shared_ptr<DomainFacade> DomainStore::find(const std::string& key) const {
    auto it = domains.find(key);
    if (it != domains.end())
        return it->second;
    return parent ? parent->find(key) : nullptr;
}

std::pair<std::string, std::shared_ptr<DomainFacade>>
DomainStore::find_file(const std::string& filename) const {
    if (!filename.empty()) {
        for (const auto& [key, facade] : domains)
            if (facade && same_domain_file(facade->get_sqlite_filename(), filename))
                return {key, facade};
    }
    return parent ? parent->find_file(filename)
                  : std::pair<std::string, std::shared_ptr<DomainFacade>>{};
}

bool same_domain_file(const std::string& a, const std::string& b) {
    if (a == b)
        return !a.empty();
    if (a.empty() || b.empty())
        return false;
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec) && !ec;
}

} // namespace dez::trelix

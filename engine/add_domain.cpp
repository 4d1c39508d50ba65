#include "engine/add_domain.h"

#include <algorithm>

#include "domain/domain_facade.h"

namespace dez::trelix {

void add_domain(DomainCollection& out, const std::string& name,
                std::shared_ptr<DomainFacade> facade,
                const std::set<std::string>& dependency_files) {
    std::size_t insert_at = 0;
    const std::size_t size = out.size();
    for (const std::string& file : dependency_files) {
        if (insert_at >= size)
            continue;
        for (std::size_t i = insert_at; i < size; ++i) {
            if (out[i].second && out[i].second->get_sqlite_filename() == file) {
                if (i + 1 < size)
                    insert_at = std::max(insert_at, i + 1);
                break;
            }
        }
    }
    out.insert(out.begin() + static_cast<std::ptrdiff_t>(insert_at), {name, std::move(facade)});
}

bool is_already_loaded(const std::string& name, const DomainCollection& out) {
    return std::any_of(out.begin(), out.end(),
                       [&](const auto& entry) { return entry.first == name; });
}

} // namespace dez::trelix

#pragma once

#include <set>
#include <string>

#include "engine/domain_collection.h"

namespace dez::trelix {

// Inserts the domain right after the furthest of its dependencies (their
// `.dom` paths) already in `out`, or at the front when none is there. A
// dependency found at the last entry does not move the insertion point, so
// the requested domain, inserted first, stays last.
void add_domain(DomainCollection& out, const std::string& name,
                std::shared_ptr<DomainFacade> facade,
                const std::set<std::string>& dependency_files);

// Whether an entry of `out` carries that name.
bool is_already_loaded(const std::string& name, const DomainCollection& out);

} // namespace dez::trelix

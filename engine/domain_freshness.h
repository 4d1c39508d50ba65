#pragma once

#include <string>

namespace dez::trelix {

class DomainFacade;

// Whether a cached domain must be loaded again: its build time is unknown,
// its `.dom` file is gone or newer, or `name` is its source folder and holds
// a newer ".tlx" file.
bool domains_need_to_be_recompiled(const DomainFacade& facade, const std::string& name);

// Sets `found` when a regular file of `folder` with `extension` (any file for
// an empty one) was written after the facade's build time; sub-folders only
// with `descend`. Entries that vanish while scanned are skipped.
void has_newer_source_files(const std::string& folder, const std::string& extension,
                            const DomainFacade& facade, bool& found, bool descend);

} // namespace dez::trelix

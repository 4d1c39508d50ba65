#pragma once

#include <string>
#include <vector>

namespace dez::trelix {

class DomainFacade;

// Finds the domain called `name` (a `.dom` file, a domain source folder, or a
// name the pipeline expansion resolves through `folders`) and fills the
// facade: store path, description with the `.dom_info`, build time and
// lexicons. False when the `.dom` file is missing or cannot be opened; true at
// once for an empty name. "Domain file not found. " + name for a name nothing
// resolves; a malformed `.dom_info` or store raises.
//
// Stand-in of the domain-loading work: it reads only what the engine and the
// lexicon pass need so far. That work completes it with the description
// readers, the flags, compiling a source folder on load (here a folder only
// serves the `domain.dom` it already holds), the output filter, the token
// encoder, the rules, the concept maps and the version check.
bool load_domain(DomainFacade& facade, const std::vector<std::string>& folders,
                 const std::string& name);

} // namespace dez::trelix

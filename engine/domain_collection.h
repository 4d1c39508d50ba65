#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace dez::trelix {

class DomainFacade;

// Domains in run order, each under the name it was asked for or resolved to.
using DomainCollection = std::vector<std::pair<std::string, std::shared_ptr<DomainFacade>>>;

} // namespace dez::trelix

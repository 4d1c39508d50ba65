#pragma once

#include <string>

namespace dez::trelix {

// A loaded compiled domain as the runtime names it.
class DomainInterface {
public:
    // The path of the `.dom` store.
    virtual const std::string& get_sqlite_filename() const = 0;
    // The name under which the domain was requested.
    virtual const std::string& name() const = 0;
    virtual ~DomainInterface() = default;
};

} // namespace dez::trelix

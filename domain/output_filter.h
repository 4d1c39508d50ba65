#pragma once

#include <memory>
#include <set>
#include <string>

#include "document/base_filter.h"

namespace dez::trelix {

// The concept names a domain lets through to the output.
class OutputFilter {
public:
    void add(const std::string& name);
    std::set<std::string>::const_iterator begin() const { return names.begin(); }
    std::set<std::string>::const_iterator end() const { return names.end(); }

    // Installs one expression over all names joined with "|".
    void build();
    // True when no filter is installed, else whether the filter accepts the
    // whole name.
    bool has(const std::string& name) const;

    std::set<std::string> names;
    std::shared_ptr<BaseFilter> filter;
};

} // namespace dez::trelix

#include "matcher/memento_store.h"

#include <algorithm>

namespace dez::trelix {

bool sort_function(const MementoData& a, const MementoData& b) {
    return a.location < b.location;
}

void MementoStore::add(const std::string& key, const std::string& value,
                       const unsigned int& location) {
    auto& entries = (*this)[key].entries;
    const MementoData data{location, value};
    auto at = std::lower_bound(entries.begin(), entries.end(), data, sort_function);
    if (at != entries.end() && at->location == location && at->value == value)
        return;
    entries.insert(at, data);
}

bool MementoStore::has(const std::string& key, const std::string& value,
                       const unsigned int& location) const {
    auto found = find(key);
    if (found == end())
        return false;
    const auto& entries = found->second.entries;
    auto at = std::lower_bound(entries.begin(), entries.end(), MementoData{location, {}},
                               sort_function);
    if (at != entries.begin())
        --at;
    for (; at != entries.end() && at->location <= location; ++at)
        if (at->value == value)
            return true;
    return false;
}

} // namespace dez::trelix

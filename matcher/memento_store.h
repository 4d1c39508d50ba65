#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace dez::trelix {

// One value a rule remembered at a character offset.
struct MementoData {
    uint32_t location;
    std::string value;
};

// The history of one key, ascending by location.
struct Memento {
    std::vector<MementoData> entries;
};

// Orders mementos by location; every search of the store uses it.
bool sort_function(const MementoData& a, const MementoData& b);

// The mementos of one document, by key. Entries are only added.
class MementoStore : public std::map<std::string, Memento> {
public:
    // A value at a location that already holds values goes before them; the
    // same pair is not recorded twice in a row.
    void add(const std::string& key, const std::string& value, const unsigned int& location);
    // True when the value recorded last before the location, or one recorded
    // exactly there, equals `value`.
    bool has(const std::string& key, const std::string& value, const unsigned int& location) const;
};

} // namespace dez::trelix

#include "analysis/lookup_type.h"

#include <map>

namespace dez::trelix::core {

int64_t get_lookup_type(const std::string& name) {
    static const std::map<std::string, int64_t> types = {
        {"not_set", 0},     {"plain", 1},       {"compound", 2},
        {"compound_v2", 3}, {"compound_v3", 4}, {"compound_numbers", 5},
        {"cleaner", 6},     {"guesser", 7},     {"endings", 8},
        {"tag", 9},         {"icu", 10},
    };
    auto it = types.find(name);
    return it == types.end() ? 0 : it->second;
}

} // namespace dez::trelix::core

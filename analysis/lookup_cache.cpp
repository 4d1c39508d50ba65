#include "analysis/lookup_cache.h"

namespace dez::trelix {

LookupCache::LookupCache() {
    entries.max_load_factor(1.0f);
}

const std::vector<std::string>* LookupCache::lookup(const std::string& word) const {
    auto found = entries.find(word);
    return found == entries.end() ? nullptr : &found->second;
}

void LookupCache::add(const std::string& word, const std::vector<std::string>& results) {
    entries.emplace(word, results);
}

void LookupCache::clear() {
    entries.clear();
}

} // namespace dez::trelix

#include "analysis/lookup_cache.h"

namespace dez::trelix {

std::size_t LookupCache::add_step() {
    return next_step_++;
}

const std::vector<std::string>* LookupCache::lookup(std::size_t step,
                                                    const std::string& word) const {
    if (step >= entries.size())
        return nullptr;
    const Answers& answers = entries[step];
    auto found = answers.find(word);
    return found == answers.end() ? nullptr : &found->second;
}

void LookupCache::add(std::size_t step, const std::string& word,
                      const std::vector<std::string>& results) {
    if (step >= entries.size()) {
        entries.resize(step + 1);
        entries[step].max_load_factor(1.0f);
    }
    entries[step].emplace(word, results);
}

void LookupCache::clear() {
    for (Answers& answers : entries)
        answers.clear();
}

} // namespace dez::trelix

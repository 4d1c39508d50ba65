#include "analysis/morph_data.h"

#include "analysis/lookup.h"
#include "analysis/lookup_chain.h"

namespace dez::trelix::core {

std::vector<std::string> MorphData::first(const std::string& word) const {
    if (chain.empty())
        return {};
    return chain.front()->lookup(word);
}

std::vector<std::string> MorphData::others(const std::string& word) const {
    for (auto step = chain.begin() + (chain.empty() ? 0 : 1); step != chain.end(); ++step) {
        std::vector<std::string> results = (*step)->lookup(word);
        if (!results.empty())
            return results;
    }
    return {};
}

std::vector<std::string> MorphData::lookup(const std::string& word) const {
    return lookup_chain(chain, word);
}

std::vector<std::string> MorphData::guess(const std::string& word) const {
    return lookup_chain(guessers, word);
}

} // namespace dez::trelix::core

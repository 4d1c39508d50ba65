#include "analysis/lookup_chain.h"

#include "analysis/lookup.h"

namespace dez::trelix::core {

std::vector<std::string> lookup_chain(const std::vector<std::shared_ptr<ILookup>>& chain,
                                      const std::string& word) {
    for (const auto& step : chain) {
        std::vector<std::string> results = step->lookup(word);
        if (!results.empty())
            return results;
    }
    return {};
}

std::vector<std::string> lookup_chain_no_cache(const std::vector<std::shared_ptr<ILookup>>& chain,
                                               const std::string& word) {
    for (const auto& step : chain) {
        std::vector<std::string> results = step->lookup_no_cache(word);
        if (!results.empty())
            return results;
    }
    return {};
}

} // namespace dez::trelix::core

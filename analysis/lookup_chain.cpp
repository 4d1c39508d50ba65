#include "analysis/lookup_chain.h"

#include "analysis/lookup.h"

namespace dez::trelix::core {

namespace {

// The first step's answer that is not empty, asked through `ask`.
std::vector<std::string> first_answer(const std::vector<std::shared_ptr<ILookup>>& chain,
                                      const std::string& word,
                                      std::vector<std::string> (ILookup::*ask)(const std::string&)
                                          const) {
    for (const auto& step : chain) {
        std::vector<std::string> results = ((*step).*ask)(word);
        if (!results.empty())
            return results;
    }
    return {};
}

} // namespace

std::vector<std::string> lookup_chain(const std::vector<std::shared_ptr<ILookup>>& chain,
                                      const std::string& word) {
    return first_answer(chain, word, &ILookup::lookup);
}

std::vector<std::string> lookup_chain_no_cache(const std::vector<std::shared_ptr<ILookup>>& chain,
                                               const std::string& word) {
    return first_answer(chain, word, &ILookup::lookup_no_cache);
}

} // namespace dez::trelix::core

#include "analysis/lookup_proxy.h"

#include "analysis/lookup_cache.h"
#include "core-afst/lookup_interface.h"
#include "document/blackboard.h"

namespace dez::trelix::core {

LookupProxy::LookupProxy(std::shared_ptr<dez::afst::LookupInterface> strategy,
                         Blackboard* blackboard)
    : strategy(std::move(strategy)), blackboard(blackboard) {
    if (blackboard && blackboard->lookup_cache)
        step_ = blackboard->lookup_cache->add_step();
}

std::vector<std::string> LookupProxy::lookup(const std::string& word) const {
    LookupCache* cache = blackboard ? blackboard->lookup_cache.get() : nullptr;
    if (cache) {
        // Cached answers already carry the suffix.
        if (const std::vector<std::string>* hit = cache->lookup(step_, word))
            return *hit;
    }
    std::vector<std::string> results = lookup_no_cache(word);
    if (cache)
        cache->add(step_, word, results);
    return results;
}

std::vector<std::string> LookupProxy::lookup_no_cache(const std::string& word) const {
    std::vector<std::string> results = strategy->up(word);
    if (!properties.empty())
        for (std::string& result : results)
            result += properties;
    return results;
}

} // namespace dez::trelix::core

#include "analysis/lookup_proxy.h"

#include "analysis/lookup_cache.h"
#include "analysis/thread_lookup_cache.h"
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
    // The thread's answer needs no copy in the document's cache.
    if (const std::vector<std::string>* kept = thread_lookup_cache::find(shared_step, word))
        return with_properties(*kept);
    std::vector<std::string> answers = strategy->up(word);
    thread_lookup_cache::add(shared_step, word, answers);
    std::vector<std::string> results = with_properties(std::move(answers));
    if (cache)
        cache->add(step_, word, results);
    return results;
}

std::vector<std::string> LookupProxy::lookup_no_cache(const std::string& word) const {
    return with_properties(strategy->up(word));
}

std::vector<std::string> LookupProxy::with_properties(std::vector<std::string> results) const {
    if (!properties.empty())
        for (std::string& result : results)
            result += properties;
    return results;
}

} // namespace dez::trelix::core

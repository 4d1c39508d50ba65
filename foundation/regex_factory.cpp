#include "foundation/regex_factory.h"

namespace dez {

std::shared_ptr<RegexFactory> gfactory;
std::mutex regex_factory_mutex;

Regex RegexFactory::make_regex(const std::string& pattern, bool case_insensitive) {
    auto& cache = case_insensitive ? case_insensitive_ : case_sensitive_;
    auto found = cache.find(pattern);
    if (found == cache.end())
        found = cache.emplace(pattern, Regex(pattern, case_insensitive)).first;
    return found->second;
}

Regex RegexFactory::get_regex(const std::string& pattern, bool case_insensitive) {
    std::lock_guard<std::mutex> lock(regex_factory_mutex);
    if (!gfactory)
        gfactory = std::make_shared<RegexFactory>();
    return gfactory->make_regex(pattern, case_insensitive);
}

Regex tlx_regex(const std::string& pattern) {
    return RegexFactory::get_regex(pattern, false);
}

Regex tlx_regex_case_insenitive(const std::string& pattern) {
    return RegexFactory::get_regex(pattern, true);
}

} // namespace dez

#pragma once

#include "foundation/regex.h"

#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

namespace dez {

// A cache of compiled expressions, keyed by the pattern and its case flag.
// Entries are never removed. make_regex takes no lock: the owner of a factory
// serialises its calls; the process-wide one is reached through get_regex.
class RegexFactory {
public:
    RegexFactory() = default;

    // A copy sharing the cached expression, compiled on the first request for
    // this pattern and flag. A compile error propagates and caches nothing.
    Regex make_regex(const std::string& pattern, bool case_insensitive);

    // make_regex of the process-wide factory, under regex_factory_mutex.
    static Regex get_regex(const std::string& pattern, bool case_insensitive);

private:
    std::unordered_map<std::string, Regex> case_sensitive_;
    std::unordered_map<std::string, Regex> case_insensitive_;
};

// The process-wide factory, created by the first get_regex, and its lock.
// Both are constant-initialised, so tables built at load time may already use them.
extern std::shared_ptr<RegexFactory> gfactory;
extern std::mutex regex_factory_mutex;

// The cached case-sensitive expression of pattern (no bracket conversion).
Regex tlx_regex(const std::string& pattern);

// The cached expression of pattern, ignoring case.
Regex tlx_regex_case_insenitive(const std::string& pattern);

} // namespace dez

#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include <nlohmann/json.hpp>

namespace dez::trelix {

class Engine;

// The purge policy of an engine's cached language modules and domains: keep
// the "top" most recently used, release those unused for "life_time" seconds,
// and run the purges the engine asks for on its own at most every "interval"
// seconds. Holds no resource; it releases entries through the engine's
// no-lock operations, so every purge runs with the engine lock held.
//
// Configuration: {"languages": {"top": n, "life_time": s}, "domains": {...},
// "interval": s}; every member optional.
class ResourceManagment {
public:
    // Ages are measured on the wall clock (last accesses are epoch seconds);
    // intervals on a monotonic one, so a clock jump neither forces nor blocks
    // the next interval purge. Tests replace both.
    struct Clock {
        std::function<int64_t()> wall;
        std::function<int64_t()> monotonic;
    };
    static Clock system_clock();

    // Fails with dez::Exception on a member it does not know or a limit that
    // is no non-negative number, and with the JSON library's errors on text
    // that is not JSON or an "interval" that is no number.
    ResourceManagment(Engine* engine, const std::string& configuration,
                      Clock clock = system_clock());
    // The section pointers point into `config`.
    ResourceManagment(const ResourceManagment&) = delete;
    ResourceManagment& operator=(const ResourceManagment&) = delete;

    bool has_interval() const;
    // Passes, and restarts the interval, when the interval has elapsed at
    // `now` (monotonic seconds).
    bool requires_purging(int64_t now);
    bool perform_interval_checks(bool check_interval, int64_t now);

    // `in_use` names the entry the current request has just handed out: the
    // age purge keeps it, and the size purge ranks it first.
    void purge_languages(bool check_interval, const std::string& in_use = {});
    void purge_domains(bool check_interval, const std::string& in_use = {});
    void purge_language_on_size(const std::string& in_use = {});
    void purge_language_on_life_time(int64_t now, const std::string& in_use = {});
    void purge_domains_on_size(const std::string& in_use = {});
    void purge_domain_on_life_time(int64_t now, const std::string& in_use = {});

    Engine* engine;
    nlohmann::json config;
    const nlohmann::json* languages_config = nullptr;
    const nlohmann::json* domains_config = nullptr;
    // Monotonic seconds of construction, then of the last interval purge that ran.
    int64_t last_purge_time = 0;
    int32_t interval_seconds = -1;

private:
    Clock clock_;
};

} // namespace dez::trelix

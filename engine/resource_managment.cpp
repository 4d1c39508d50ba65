#include "engine/resource_managment.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

#include "domain/domain_facade.h"
#include "engine/domain_store.h"
#include "engine/engine.h"
#include "engine/language_module_data.h"
#include "foundation/exception.h"
#include "foundation/logger.h"
#include "foundation/wall_clock.h"

#define PURGE_LOG(level, message)                                                                  \
    TRELIX_LOG(dez::wlog::channel_runtime, (level), "[ResourceManagment] " << message)

namespace dez::trelix {

namespace {

bool is_negative(const nlohmann::json& value) {
    if (value.is_number_float())
        return value.get<double>() < 0;
    return value.is_number_integer() && !value.is_number_unsigned() && value.get<int64_t>() < 0;
}

// A validated "top" or "life_time": a fraction is dropped, a value beyond
// the unsigned 32-bit range counts as its largest.
uint32_t read_limit(const nlohmann::json& value) {
    constexpr uint32_t largest = std::numeric_limits<uint32_t>::max();
    if (value.is_number_float())
        return static_cast<uint32_t>(std::min(value.get<double>(), static_cast<double>(largest)));
    return static_cast<uint32_t>(std::min<uint64_t>(value.get<uint64_t>(), largest));
}

// "interval": a boolean counts as 0 or 1, a fraction is dropped, values
// beyond the signed 32-bit range are clamped; anything else raises the JSON
// library's type error.
int32_t read_interval(const nlohmann::json& value) {
    constexpr double low = std::numeric_limits<int32_t>::min();
    constexpr double high = std::numeric_limits<int32_t>::max();
    if (value.is_number_float())
        return static_cast<int32_t>(std::clamp(value.get<double>(), low, high));
    if (value.is_number_unsigned())
        return static_cast<int32_t>(std::min<uint64_t>(value.get<uint64_t>(), INT32_MAX));
    if (value.is_number_integer())
        return static_cast<int32_t>(std::max<int64_t>(value.get<int64_t>(), INT32_MIN));
    return value.get<int32_t>();
}

void validate(const nlohmann::json& config) {
    for (const auto& member : config.items()) {
        const std::string& key = member.key();
        if (key == "languages" || key == "domains") {
            for (const auto& limit : member.value().items()) {
                if (limit.key() != "top" && limit.key() != "life_time")
                    throw dez::Exception("Unkown section in [" + key + "][" + limit.key() +
                                         "]  in purge info option:");
                // A negative limit would wrap to a huge one and silently never purge.
                if (!limit.value().is_number() || is_negative(limit.value()))
                    throw dez::Exception("Purge [" + key + "][" + limit.key() +
                                         "] should be a integer.");
            }
        } else if (key != "interval") {
            throw dez::Exception("Unkown section [" + key + "] in purge info option:");
        }
    }
}

const nlohmann::json* limit_of(const nlohmann::json* section, const char* name) {
    if (!section || !section->is_object())
        return nullptr;
    auto it = section->find(name);
    return it == section->end() ? nullptr : &*it;
}

// (key, last access) of every cached entry, in table order.
using Accesses = std::vector<std::pair<std::string, int64_t>>;

Accesses language_accesses(const Engine& engine) {
    Accesses entries;
    for (const auto& [key, data] : engine.language_modules)
        entries.emplace_back(key, data->last_access.load());
    return entries;
}

Accesses domain_accesses(const Engine& engine) {
    Accesses entries;
    for (const auto& [key, facade] : engine.domain_store->domains)
        entries.emplace_back(key, facade->last_access());
    return entries;
}

// The keys a size purge releases: all but the first `top` when ranked with
// the entry in use first, then the most recently used; equal times keep
// table order.
std::vector<std::string> beyond_top(Accesses entries, uint32_t top, const std::string& in_use) {
    std::stable_sort(entries.begin(), entries.end(), [&](const auto& a, const auto& b) {
        const bool a_in_use = a.first == in_use;
        const bool b_in_use = b.first == in_use;
        if (a_in_use != b_in_use)
            return a_in_use;
        return a.second > b.second;
    });
    std::vector<std::string> keys;
    for (std::size_t i = top; i < entries.size(); ++i)
        keys.push_back(std::move(entries[i].first));
    return keys;
}

// The keys an age purge releases: unused for `life` seconds at `now`, but
// the entry in use. Each check is logged at `level`.
std::vector<std::string> idle_keys(const Accesses& entries, int64_t now, int64_t life,
                                   const std::string& in_use, unsigned short level) {
    std::vector<std::string> idle;
    for (const auto& [key, last_access] : entries) {
        const int64_t delta = now - last_access;
        PURGE_LOG(level, "Purge check timestamp " << key << " last_access = " << last_access
                                                  << " now= " << now << " delta=" << delta);
        if (delta >= life && key != in_use)
            idle.push_back(key);
    }
    return idle;
}

} // namespace

ResourceManagment::Clock ResourceManagment::system_clock() {
    return {dez::system::seconds_since_epoch, [] {
                return static_cast<int64_t>(std::chrono::duration_cast<std::chrono::seconds>(
                                                std::chrono::steady_clock::now().time_since_epoch())
                                                .count());
            }};
}

ResourceManagment::ResourceManagment(Engine* engine, const std::string& configuration, Clock clock)
    : engine(engine), config(nlohmann::json::parse(configuration)), clock_(std::move(clock)) {
    PURGE_LOG(dez::wlog::level_info, "Options= " << configuration);
    validate(config);
    if (config.contains("languages"))
        languages_config = &config["languages"];
    if (config.contains("domains"))
        domains_config = &config["domains"];
    if (config.contains("interval"))
        interval_seconds = read_interval(config["interval"]);
    last_purge_time = clock_.monotonic();
}

bool ResourceManagment::has_interval() const {
    return interval_seconds >= 0;
}

bool ResourceManagment::requires_purging(int64_t now) {
    if (last_purge_time + interval_seconds > now)
        return false;
    last_purge_time = now;
    return true;
}

bool ResourceManagment::perform_interval_checks(bool check_interval, int64_t now) {
    PURGE_LOG(dez::wlog::level_trace, "perform_interval_checks check_interval="
                                          << (check_interval ? 1 : 0) << " now=" << now);
    if (!check_interval)
        return true;
    return has_interval() && requires_purging(now);
}

void ResourceManagment::purge_languages(bool check_interval, const std::string& in_use) {
    const int64_t now = clock_.wall();
    if (!perform_interval_checks(check_interval, clock_.monotonic()))
        return;
    PURGE_LOG(dez::wlog::level_debug, "Purge languages");
    if (engine->language_modules.empty())
        return;
    purge_language_on_size(in_use);
    purge_language_on_life_time(now, in_use);
}

void ResourceManagment::purge_language_on_size(const std::string& in_use) {
    const nlohmann::json* top_value = limit_of(languages_config, "top");
    if (!top_value)
        return;
    const uint32_t top = read_limit(*top_value);
    PURGE_LOG(dez::wlog::level_debug, "Purge languages on top " << top);
    if (engine->language_modules.size() <= top)
        return;
    for (const std::string& key : beyond_top(language_accesses(*engine), top, in_use))
        engine->release_language_no_lock(key);
}

void ResourceManagment::purge_language_on_life_time(int64_t now, const std::string& in_use) {
    const nlohmann::json* life_value = limit_of(languages_config, "life_time");
    if (!life_value)
        return;
    const int64_t life = read_limit(*life_value);
    PURGE_LOG(dez::wlog::level_debug, "Purge languages life_time = " << life << "s");
    for (const std::string& key :
         idle_keys(language_accesses(*engine), now, life, in_use, dez::wlog::level_trace))
        engine->release_language_no_lock(key);
}

void ResourceManagment::purge_domains(bool check_interval, const std::string& in_use) {
    const int64_t now = clock_.wall();
    if (!perform_interval_checks(check_interval, clock_.monotonic()))
        return;
    PURGE_LOG(dez::wlog::level_debug,
              "Purge domains (" << engine->domain_store->domains.size() << ")");
    if (engine->domain_store->domains.empty())
        return;
    purge_domains_on_size(in_use);
    purge_domain_on_life_time(now, in_use);
}

void ResourceManagment::purge_domains_on_size(const std::string& in_use) {
    const nlohmann::json* top_value = limit_of(domains_config, "top");
    if (!top_value)
        return;
    const uint32_t top = read_limit(*top_value);
    PURGE_LOG(dez::wlog::level_debug, "Purge domains on top " << top);
    if (engine->domain_store->domains.size() <= top)
        return;
    // Released by store key: that is what the store holds, whatever the
    // facade calls itself.
    for (const std::string& key : beyond_top(domain_accesses(*engine), top, in_use))
        engine->release_domain_no_lock(key);
}

void ResourceManagment::purge_domain_on_life_time(int64_t now, const std::string& in_use) {
    const nlohmann::json* life_value = limit_of(domains_config, "life_time");
    if (!life_value)
        return;
    const int64_t life = read_limit(*life_value);
    PURGE_LOG(dez::wlog::level_debug,
              "Purge domains life_time = " << life << "s"
                                           << " size=" << engine->domain_store->domains.size());
    for (const std::string& key :
         idle_keys(domain_accesses(*engine), now, life, in_use, dez::wlog::level_debug))
        engine->release_domain_no_lock(key);
}

} // namespace dez::trelix

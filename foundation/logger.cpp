#include "foundation/logger.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <iomanip>
#include <iostream>
#include <memory>
#include <mutex>
#include <stdexcept>

#include "foundation/case_mapping.h"
#include "foundation/string_utils.h"

namespace dez::wlog {

namespace {

using Registry = std::vector<Logger>;

// Copy-on-write: readers load the current pointer without a lock; writers copy,
// change the copy and publish it. Published copies are kept until exit so no
// reader's reference ever dangles; hosts register a handful of loggers at most.
struct RegistryStore {
    std::mutex writer;
    std::vector<std::unique_ptr<Registry>> published;
    std::atomic<const Registry*> current{nullptr};

    RegistryStore() {
        published.push_back(std::make_unique<Registry>());
        current.store(published.back().get());
    }

    template <typename Change> void update(Change&& change) {
        std::lock_guard<std::mutex> lock(writer);
        auto next = std::make_unique<Registry>(*current.load());
        change(*next);
        current.store(next.get());
        published.push_back(std::move(next));
    }
};

RegistryStore& store() {
    static RegistryStore instance;
    return instance;
}

std::once_flag environment_logger_flag;

} // namespace

const std::vector<Logger>& loggers() { return *store().current.load(); }

bool has_logger(unsigned short id) {
    for (const auto& logger : loggers())
        if (logger.id == id)
            return true;
    return false;
}

const Logger* get_logger(unsigned short id) {
    for (const auto& logger : loggers())
        if (logger.id == id)
            return &logger;
    return nullptr;
}

void add_logger(Logger logger) {
    store().update([&](Registry& registry) { registry.push_back(std::move(logger)); });
}

bool to_value(const char* name, unsigned short& level) {
    if (!name)
        throw std::logic_error("level name is null");
    static const std::pair<const char*, unsigned short> names[] = {
        {"error", level_error}, {"info", level_info},   {"warning", level_warning},
        {"debug", level_debug}, {"trace", level_trace},
    };
    for (const auto& [text, value] : names) {
        if (std::strcmp(name, text) == 0) {
            level = value;
            return true;
        }
    }
    return false;
}

bool set_level(unsigned short id, const char* name) {
    if (!get_logger(id))
        return false;
    unsigned short level = 0;
    if (!to_value(name, level))
        return false;
    store().update([&](Registry& registry) {
        for (auto& logger : registry) {
            if (logger.id == id) {
                logger.level = level;
                break;
            }
        }
    });
    return true;
}

const char* level_name(const unsigned short& level) {
    if (level & level_trace)
        return "TRACE";
    if (level & level_debug)
        return "DEBUG";
    if (level & level_info)
        return "INFO";
    if (level & level_error)
        return "ERROR";
    if (level & level_warning)
        return "WARNING";
    return "";
}

void default_logger(unsigned short level, const char* text) {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto nanoseconds =
        std::chrono::duration_cast<std::chrono::nanoseconds>(now.time_since_epoch()).count() %
        1000000000LL;
    std::tm local{};
    localtime_r(&seconds, &local);
    std::ostringstream line;
    line << '[' << std::put_time(&local, "%T") << '.' << std::setw(9) << std::setfill('0')
         << nanoseconds << "]:" << level_name(level) << ':' << text << '\n';
    std::cout << line.str() << std::flush;
}

void set_environment_logger() { std::call_once(environment_logger_flag, set_environment_logger_once); }

void set_environment_logger_once() {
    const char* value = std::getenv("TRELIX_LOG_LEVEL");
    if (!value)
        return;
    for (const auto& part : dez::string::split_vector(dez::string::to_lower(value), '|', false)) {
        unsigned short level = 0;
        if (to_value(part.c_str(), level))
            add_logger({channel_runtime, level, default_logger});
        else if (part.empty() || part == "fatal" || part == "plugin")
            continue;
        else
            std::cerr << "Warning: Invalid TRELIX_LOG_LEVEL level [" << part
                      << "], valid values: trace,debug,info,warning,error,fatal" << std::endl;
    }
}

bool would_log(unsigned short id, unsigned short level) {
    for (const auto& logger : loggers())
        if (logger.id == id && logger.level >= level && logger.callback)
            return true;
    return false;
}

void emit(unsigned short id, unsigned short level, const char* text) {
    for (const auto& logger : loggers())
        if (logger.id == id && logger.level >= level && logger.callback)
            logger.callback(level, text);
}

} // namespace dez::wlog

extern "C" {

int dez_api_add_logger(unsigned short id, const char* level,
                       void (*callback)(unsigned short level, const char* text)) {
    unsigned short value = 0;
    if (!callback || !level || !dez::wlog::to_value(level, value))
        return 0;
    dez::wlog::add_logger({id, value, callback});
    return 1;
}

int dez_api_set_logger(unsigned short id, const char* level) {
    if (!level)
        return 0;
    return dez::wlog::set_level(id, level) ? 1 : 0;
}

const char* dez_api_level_name(const unsigned short* level) {
    return level ? dez::wlog::level_name(*level) : "";
}

} // extern "C"

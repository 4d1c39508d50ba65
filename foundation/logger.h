#pragma once

#include <cstdint>
#include <functional>
#include <sstream>
#include <vector>

namespace dez::wlog {

enum : unsigned short {
    level_error = 1,
    level_info = 2,
    level_warning = 4,
    level_debug = 8,
    level_trace = 16,
};

enum : unsigned short {
    channel_runtime = 256,
    channel_compiler = 4096,
};

struct Logger {
    unsigned short id;    // channel
    unsigned short level; // threshold: messages of this level or lower get through
    std::function<void(unsigned short, const char*)> callback;
};

// The registry as it stands now. Writers publish a new copy instead of changing
// the one readers walk, and old copies live until exit, so a reference taken by
// a logging thread stays valid while a host adds loggers.
const std::vector<Logger>& loggers();

bool has_logger(unsigned short id);
const Logger* get_logger(unsigned short id);
void add_logger(Logger logger);
bool to_value(const char* name, unsigned short& level);
bool set_level(unsigned short id, const char* name);
const char* level_name(const unsigned short& level);
void default_logger(unsigned short level, const char* text);

// Installs the loggers TRELIX_LOG_LEVEL asks for, once per process.
void set_environment_logger();
void set_environment_logger_once();

// True when some logger of the channel takes messages of this level.
bool would_log(unsigned short id, unsigned short level);
// Hands the text to every logger of the channel that takes the level.
void emit(unsigned short id, unsigned short level, const char* text);

} // namespace dez::wlog

// Composes the message only when some logger will take it:
//   TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_debug, "x=" << x);
#define TRELIX_LOG(channel, level, message)                                                        \
    do {                                                                                           \
        if (::dez::wlog::would_log((channel), (level))) {                                          \
            std::ostringstream trelix_log_stream_;                                                 \
            trelix_log_stream_ << message;                                                         \
            ::dez::wlog::emit((channel), (level), trelix_log_stream_.str().c_str());               \
        }                                                                                          \
    } while (0)

// Exported entry points of the C interface, re-declared by its public header.
extern "C" {
// Refuses a null callback (answers 0).
__attribute__((visibility("default"))) int dez_api_add_logger(unsigned short id, const char* level,
                                                              void (*callback)(unsigned short level,
                                                                               const char* text));
__attribute__((visibility("default"))) int dez_api_set_logger(unsigned short id, const char* level);
__attribute__((visibility("default"))) const char* dez_api_level_name(const unsigned short* level);
}

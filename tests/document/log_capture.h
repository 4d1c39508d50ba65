#pragma once

// Collects what reaches channel 256 (runtime) at every level. The registry
// keeps loggers for the whole process, so one collector is installed once
// and each test clears it first.

#include <string>
#include <utility>
#include <vector>

#include "foundation/logger.h"

namespace dez::trelix::fixture {

inline std::vector<std::pair<unsigned short, std::string>>& runtime_log() {
    static std::vector<std::pair<unsigned short, std::string>> lines;
    static const bool installed = [] {
        dez::wlog::add_logger(
            {dez::wlog::channel_runtime, dez::wlog::level_trace,
             [](unsigned short level, const char* text) { lines.emplace_back(level, text); }});
        return true;
    }();
    (void)installed;
    return lines;
}

} // namespace dez::trelix::fixture

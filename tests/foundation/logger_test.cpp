#include "foundation/logger.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <regex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

using namespace dez::wlog;

struct Received {
    std::vector<std::pair<unsigned short, std::string>> messages;
};

// Channels unique to each test keep the process-wide registry from mixing cases.
Logger collecting(unsigned short channel, unsigned short level, Received& into) {
    return {channel, level,
            [&into](unsigned short l, const char* text) { into.messages.emplace_back(l, text); }};
}

TEST(Logging, NoListenerMeansNoTextIsComposed) {
    int composed = 0;
    auto expensive = [&] {
        ++composed;
        return std::string("text");
    };
    TRELIX_LOG(101, level_error, expensive());
    Received received;
    add_logger(collecting(101, level_info, received));
    TRELIX_LOG(101, level_warning, expensive());
    TRELIX_LOG(102, level_error, expensive());
    EXPECT_EQ(composed, 0);
    TRELIX_LOG(101, level_info, expensive() << ' ' << 7);
    EXPECT_EQ(composed, 1);
    ASSERT_EQ(received.messages.size(), 1u);
    EXPECT_EQ(received.messages[0], (std::pair<unsigned short, std::string>(level_info, "text 7")));
}

TEST(Logging, ThresholdIsNumericAndPerChannel) {
    Received info, trace, other;
    add_logger(collecting(256, level_info, info));
    add_logger(collecting(256, level_trace, trace));
    add_logger(collecting(4096, level_trace, other));
    for (unsigned short level : {level_error, level_info, level_warning, level_debug, level_trace})
        emit(256, level, "m");
    ASSERT_EQ(info.messages.size(), 2u);
    EXPECT_EQ(info.messages[0].first, level_error);
    EXPECT_EQ(info.messages[1].first, level_info);
    EXPECT_EQ(trace.messages.size(), 5u);
    EXPECT_TRUE(other.messages.empty());
    EXPECT_TRUE(has_logger(4096));
    EXPECT_FALSE(has_logger(4097));
}

TEST(Logging, LevelNamesAndValues) {
    const std::pair<unsigned short, const char*> names[] = {
        {1, "ERROR"}, {2, "INFO"},  {4, "WARNING"}, {8, "DEBUG"}, {16, "TRACE"},
        {3, "INFO"},  {5, "ERROR"}, {0, ""},        {32, ""},     {24, "TRACE"},
    };
    for (const auto& [value, name] : names) {
        EXPECT_STREQ(level_name(value), name) << value;
        EXPECT_STREQ(dez_api_level_name(&value), name) << value;
    }
    unsigned short level = 99;
    EXPECT_TRUE(to_value("warning", level));
    EXPECT_EQ(level, 4);
    EXPECT_FALSE(to_value("Warning", level));
    EXPECT_EQ(level, 4);
    EXPECT_THROW(to_value(nullptr, level), std::logic_error);
}

void c_callback(unsigned short, const char*) {}

TEST(Logging, CInterfaceRegistersAndChangesThresholds) {
    EXPECT_EQ(dez_api_add_logger(201, "INFO", c_callback), 0);
    EXPECT_EQ(dez_api_add_logger(201, "info", nullptr), 0);
    EXPECT_FALSE(has_logger(201));

    EXPECT_EQ(dez_api_set_logger(202, "debug"), 0);
    EXPECT_NE(dez_api_add_logger(202, "info", c_callback), 0);
    EXPECT_NE(dez_api_add_logger(202, "error", c_callback), 0);
    EXPECT_NE(dez_api_set_logger(202, "debug"), 0);
    EXPECT_EQ(dez_api_set_logger(202, "verbose"), 0);

    std::vector<unsigned short> levels;
    for (const auto& logger : loggers())
        if (logger.id == 202)
            levels.push_back(logger.level);
    EXPECT_EQ(levels, (std::vector<unsigned short>{level_debug, level_error}));
    EXPECT_EQ(get_logger(202)->level, level_debug);
}

TEST(Logging, DefaultLineFormat) {
    testing::internal::CaptureStdout();
    default_logger(level_warning, "hello world");
    const std::string line = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(std::regex_match(line, std::regex(R"(\[\d\d:\d\d:\d\d\.\d{9}\]:WARNING:hello world\n)")))
        << line;
}

struct EnvironmentCase {
    const char* value;
    std::vector<unsigned short> added_levels;
    const char* warning;
};

TEST(Logging, EnvironmentInstallsRuntimeLoggers) {
    const EnvironmentCase cases[] = {
        {"warning|bogus", {level_warning},
         "Warning: Invalid TRELIX_LOG_LEVEL level [bogus], valid values: "
         "trace,debug,info,warning,error,fatal\n"},
        {"fatal", {}, ""},
        {"INFO||plugin", {level_info}, ""},
        {"debug|info", {level_debug, level_info}, ""},
    };
    for (const auto& c : cases) {
        setenv("TRELIX_LOG_LEVEL", c.value, 1);
        const size_t before = loggers().size();
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        set_environment_logger_once();
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
        EXPECT_EQ(err, c.warning) << c.value;
        std::vector<unsigned short> added;
        for (size_t i = before; i < loggers().size(); ++i) {
            EXPECT_EQ(loggers()[i].id, channel_runtime);
            added.push_back(loggers()[i].level);
        }
        EXPECT_EQ(added, c.added_levels) << c.value;
    }
    unsetenv("TRELIX_LOG_LEVEL");
}

TEST(Logging, EnvironmentIsReadOncePerProcess) {
    setenv("TRELIX_LOG_LEVEL", "error", 1);
    const size_t before = loggers().size();
    set_environment_logger();
    set_environment_logger();
    EXPECT_EQ(loggers().size(), before + 1);
    unsetenv("TRELIX_LOG_LEVEL");
}

TEST(Logging, HostMayAddLoggersWhileAnotherThreadLogs) {
    std::atomic<bool> stop{false};
    std::atomic<int> delivered{0};
    add_logger({301, level_trace, [&](unsigned short, const char*) { ++delivered; }});
    std::thread logger_thread([&] {
        while (!stop)
            TRELIX_LOG(301, level_debug, "busy " << 1);
    });
    for (int i = 0; i < 200; ++i)
        add_logger({302, level_info, [](unsigned short, const char*) {}});
    stop = true;
    logger_thread.join();
    EXPECT_GT(delivered.load(), 0);
}

} // namespace

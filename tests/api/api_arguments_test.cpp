#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "api/api_arguments.h"
#include "api/copy_out.h"
#include "foundation/exception.h"

namespace dez::api {
namespace {

TEST(OptionsArgument, ReadsObjectsForTheirLength) {
    struct Case {
        const char* name;
        const char* text;
        size_t length;
        std::string dump;
    };
    const std::vector<Case> cases = {
        {"null", nullptr, 0, "{}"},
        {"null with a length", nullptr, 5, "{}"},
        {"empty", "", 0, "{}"},
        {"up to the zero byte", R"({"a":"1"})", 0, R"({"a":"1"})"},
        {"only the given length", R"({"a":"1"}{"b")", 9, R"({"a":"1"})"},
        {"blanks around", " {\"a\":\"1\"}\n", 0, R"({"a":"1"})"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(options_argument(c.text, c.length)->str(), c.dump) << c.name;
}

TEST(OptionsArgument, MalformedTextIsAJsonError) {
    struct Case {
        const char* name;
        const char* text;
        size_t length;
    };
    const std::vector<Case> cases = {
        {"cut object", R"({"a":)", 0},
        {"cut by the length", R"({"a":"1"})", 4},
        {"not JSON", "language=en", 0},
        {"array", R"(["a"])", 0},
        {"number", "3", 0},
        {"null literal", "null", 0},
        {"invalid UTF-8", "{\"a\":\"\xFF\"}", 0},
    };
    for (const Case& c : cases) {
        try {
            options_argument(c.text, c.length);
            ADD_FAILURE() << c.name << ": accepted";
        } catch (const dez::JSONThrowException& e) {
            // The message is itself JSON, short enough for the error record.
            const auto message = nlohmann::json::parse(e.what());
            EXPECT_EQ(message.at("exception_type"), "invalid_options") << c.name;
            EXPECT_EQ(
                message.at("exception_msg").get<std::string>().rfind("Invalid json stream: ", 0),
                0u)
                << c.name;
            EXPECT_LT(std::strlen(e.what()), 1024u) << c.name;
        }
    }
}

TEST(TextArgument, ExactlyTheGivenBytes) {
    EXPECT_EQ(text_argument("abcdef", 3), "abc");
    EXPECT_EQ(text_argument(nullptr, 0), "");
    EXPECT_EQ(text_argument("a\0b", 3), std::string("a\0b", 3));
    EXPECT_THROW(text_argument(nullptr, 1), std::logic_error);
}

TEST(HostBuffer, FileNameProtocol) {
    struct Case {
        const char* name;
        size_t size;
        bool written;
        size_t stored;
    };
    // The text is 5 bytes; the buffer always has one byte more than `size`.
    const std::vector<Case> cases = {
        {"one byte short", 4, false, 5},
        {"exactly the length", 5, true, 5},
        {"room to spare", 9, true, 5},
        {"no room", 0, false, 5},
    };
    for (const Case& c : cases) {
        char buffer[16];
        std::memset(buffer, 'x', sizeof buffer);
        size_t size = c.size;
        EXPECT_EQ(copy_to_host_buffer("hello", buffer, &size), c.written) << c.name;
        EXPECT_EQ(size, c.stored) << c.name;
        if (c.written) {
            EXPECT_STREQ(buffer, "hello") << c.name;
        } else {
            EXPECT_EQ(buffer[0], 'x') << c.name;
        }
    }
    EXPECT_THROW(copy_to_host_buffer("a", nullptr, nullptr), std::logic_error);
    size_t size = 4;
    EXPECT_THROW(copy_to_host_buffer("a", nullptr, &size), std::logic_error);
}

TEST(HostBuffer, BoundedCopyAlwaysEndsWithZero) {
    struct Case {
        const char* name;
        size_t size;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"larger buffer", 8, "value"},
        {"one byte more than the text", 6, "value"},
        {"as long as the text", 5, "valu"},
        {"shorter", 3, "va"},
        {"one byte", 1, ""},
    };
    for (const Case& c : cases) {
        char buffer[10];
        std::memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(bounded_copy("value", buffer, c.size), 5u) << c.name;
        EXPECT_STREQ(buffer, c.expected.c_str()) << c.name;
        for (size_t i = c.expected.size(); i < c.size; ++i)
            EXPECT_EQ(buffer[i], '\0') << c.name << " at " << i;
        EXPECT_EQ(buffer[c.size], 'x') << c.name << ": wrote past the buffer";
    }
    EXPECT_EQ(bounded_copy("value", nullptr, 0), 5u);
}

} // namespace
} // namespace dez::api

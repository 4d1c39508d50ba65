#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "api/error_frame.h"
#include "foundation/exception.h"

namespace dez::api {
namespace {

struct Record : dez_exception {
    Record() : dez_exception{0, {}} { std::memset(message, 'x', sizeof message); }
};

TEST(ErrorFrame, CodesByKind) {
    struct Case {
        const char* name;
        std::function<void()> fail;
        int32_t code;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"JSON error", [] { throw dez::JSONThrowException(R"({"a":1})"); }, 5, R"({"a":1})"},
        {"library error", [] { throw dez::Exception("lib"); }, 1, "lib"},
        {"fatal error", [] { throw dez::FatalException("fatal"); }, 3, "fatal"},
        {"runtime error", [] { throw std::runtime_error("rt"); }, 3, "rt"},
        {"invalid argument", [] { throw std::invalid_argument("arg"); }, 4, "arg"},
        {"logic error", [] { throw std::logic_error("logic"); }, 4, "logic"},
        {"bad alloc", [] { throw std::bad_alloc(); }, 2, std::bad_alloc().what()},
        {"bad weak pointer", [] { throw std::bad_weak_ptr(); }, 2, std::bad_weak_ptr().what()},
        {"JSON library error",
         [] { throw nlohmann::json::parse_error::create(101, 1, "bad", nullptr); }, 2, ""},
        {"not a standard exception", [] { throw 42; }, 2, "unknown exception"},
    };
    for (const Case& c : cases) {
        Record error;
        const int answer = error_frame(&error, -1, [&] {
            c.fail();
            return 1;
        });
        EXPECT_EQ(answer, -1) << c.name;
        EXPECT_EQ(error.code, c.code) << c.name;
        if (!c.message.empty()) {
            EXPECT_STREQ(error.message, c.message.c_str()) << c.name;
        }
        // The rest of the field is zero, whatever it held before.
        const size_t length = std::strlen(error.message);
        for (size_t i = length; i < sizeof error.message; ++i)
            ASSERT_EQ(error.message[i], '\0') << c.name << " at " << i;
    }
}

TEST(ErrorFrame, SuccessLeavesTheRecordAlone) {
    Record error;
    error.code = 7;
    std::strcpy(error.message, "old");
    EXPECT_EQ(error_frame(&error, 0, [] { return 5; }), 5);
    EXPECT_EQ(error.code, 7);
    EXPECT_STREQ(error.message, "old");
}

TEST(ErrorFrame, LongMessagesAreCut) {
    for (const size_t size : {1022u, 1023u, 1024u, 2000u}) {
        Record error;
        const std::string message(size, 'm');
        error_frame(&error, 0, [&]() -> int { throw dez::Exception(message); });
        EXPECT_EQ(std::strlen(error.message), std::min<size_t>(size, 1023)) << size;
        EXPECT_EQ(error.message[1023], '\0') << size;
    }
}

TEST(ErrorFrame, NullRecord) {
    EXPECT_EQ(error_frame(nullptr, 3, []() -> int { throw dez::Exception("x"); }), 3);
    fill_error(nullptr, 1, "x");
}

} // namespace
} // namespace dez::api

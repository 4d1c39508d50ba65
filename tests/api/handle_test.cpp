#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "api/dez_api.h"
#include "api/object.h"
#include "api/thread_buffers.h"
#include "tests/api/handle_fixture.h"

namespace dez::api {
namespace {

using dez::api::fixture::Record;

// An engine-kind object that counts its destructions.
class Counted : public Object {
public:
    explicit Counted(int& destroyed) : Object(HandleKind::engine), destroyed(destroyed) {}
    ~Counted() override { ++destroyed; }
    int& destroyed;
};

TEST(Handles, LayoutOfTheHeader) {
    static_assert(sizeof(dez_object) == 8, "the C header holds two 32-bit fields");
    int destroyed = 0;
    auto* object = new Counted(destroyed);
    dez_object* handle = object;
    EXPECT_EQ(handle->reference_count, 1);
    EXPECT_EQ(handle->reserved, static_cast<int32_t>(HandleKind::engine));
    Record error;
    EXPECT_EQ(dez_api_construct(handle, &error), handle);
    EXPECT_EQ(handle->reference_count, 1);
    dez_api_dec_ref(handle, &error);
}

TEST(Handles, ReleasedOnceOnTheLastReference) {
    int destroyed = 0;
    dez_object* handle = new Counted(destroyed);
    Record error;
    EXPECT_EQ(dez_api_add_ref(handle, &error), 1);
    EXPECT_EQ(dez_api_dec_ref(handle, &error), 1);
    EXPECT_EQ(destroyed, 0);
    EXPECT_EQ(dez_api_dec_ref(handle, &error), 0);
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(error.code, 0);
}

TEST(Handles, CountsFromSeveralThreads) {
    int destroyed = 0;
    dez_object* handle = new Counted(destroyed);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([handle] {
            for (int i = 0; i < 10000; ++i) {
                dez_api_add_ref(handle, nullptr);
                dez_api_dec_ref(handle, nullptr);
            }
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(handle->reference_count, 1);
    EXPECT_EQ(destroyed, 0);
    dez_api_dec_ref(handle, nullptr);
    EXPECT_EQ(destroyed, 1);
}

TEST(Handles, NullAndForeignHandlesAreRefused) {
    Record error;
    EXPECT_EQ(dez_api_add_ref(nullptr, &error), -1);
    EXPECT_EQ(dez_api_dec_ref(nullptr, &error), -1);
    EXPECT_EQ(error.code, 0);
    EXPECT_EQ(get_engine(nullptr), nullptr);

    // Memory that is no handle: its count is not touched.
    dez_object not_a_handle{12345, 1};
    EXPECT_EQ(dez_api_dec_ref(&not_a_handle, &error), -1);
    EXPECT_EQ(not_a_handle.reference_count, 1);
    EXPECT_EQ(error.code, 1);
    EXPECT_STREQ(error.message, "Invalid handle.");
    EXPECT_EQ(get_engine(&not_a_handle), nullptr);
    EXPECT_EQ(get_blackboard(&not_a_handle), nullptr);

    Record engine_error;
    EXPECT_EQ(dez_api_engine_info(&not_a_handle, nullptr, &engine_error), nullptr);
    EXPECT_EQ(engine_error.code, 1);
    EXPECT_STREQ(engine_error.message, "Invalid handle: not an engine.");
}

TEST(ThreadBuffers, EachThreadKeepsItsOwnText) {
    Record error;
    const char* here = dez_api_language_longname("de", &error);
    ASSERT_NE(here, nullptr);
    std::string there_text;
    const char* there = nullptr;
    std::thread other([&] {
        there = dez_api_language_longname("fr", nullptr);
        there_text = there;
    });
    other.join();
    EXPECT_NE(here, there);
    EXPECT_STREQ(here, "german");
    EXPECT_EQ(there_text, "french");
    EXPECT_EQ(here, thread_buffers().language_return_value.c_str());
}

} // namespace
} // namespace dez::api

#include "foundation/input_pool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

TEST(InputPool, GetOnAnEmptyPoolChangesNothing) {
    dez::InputPool pool;
    EXPECT_EQ(pool.get(), nullptr);
    EXPECT_TRUE(pool.inputs.empty());
    EXPECT_TRUE(pool.taken.empty());
}

TEST(InputPool, HandsOutInOrderAndRecordsEachOnce) {
    dez::InputPool pool;
    pool.add_data("first", "a");
    pool.add_file("/nonexistent/second.tlx");
    pool.add_data("third text");

    ASSERT_EQ(pool.inputs.size(), 3u);
    EXPECT_EQ(pool.inputs[0]->get_id(), "first");
    EXPECT_EQ(pool.inputs[1]->type(), "fi");
    EXPECT_EQ(pool.inputs[2]->type(), "si");

    const std::string third_id = pool.inputs[2]->get_id();
    const std::vector<std::string> expected = {"first", "/nonexistent/second.tlx", third_id};
    for (size_t i = 0; i < expected.size(); ++i) {
        auto entry = pool.get();
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(std::get<0>(*entry), "");
        EXPECT_EQ(std::get<1>(*entry)->get_id(), expected[i]);
        EXPECT_FALSE(std::get<2>(*entry));
        EXPECT_EQ(pool.inputs.size(), expected.size() - i - 1);
        ASSERT_EQ(pool.taken.size(), i + 1);
        EXPECT_EQ(pool.taken.back(), entry); // shared, not copied
    }
    EXPECT_EQ(pool.get(), nullptr);
    EXPECT_EQ(pool.taken.size(), 3u);
}

TEST(InputPool, ConsumerFillsTheSharedEntry) {
    dez::InputPool pool;
    pool.add_data("id", "text");
    auto entry = pool.get();
    std::get<0>(*entry) = std::get<1>(*entry)->get_data();
    std::get<2>(*entry) = true;
    EXPECT_EQ(std::get<0>(*pool.taken[0]), "text");
    EXPECT_TRUE(std::get<2>(*pool.taken[0]));
}

TEST(InputPool, IdenticalUnnamedTextsAreNotMadeUnique) {
    dez::InputPool pool;
    pool.add_data("same");
    pool.add_data("same");
    EXPECT_EQ(pool.inputs[0]->get_id(), pool.inputs[1]->get_id());
    EXPECT_NE(pool.inputs[0], pool.inputs[1]);
}

TEST(InputPool, ManySourcesDrainInOrder) {
    // Draining takes from the front; a large pool must not take time that
    // grows with the square of its size.
    const int count = 200000;
    dez::InputPool pool;
    for (int i = 0; i < count; ++i)
        pool.add_data(std::to_string(i), "");
    for (int i = 0; i < count; ++i) {
        auto entry = pool.get();
        ASSERT_NE(entry, nullptr);
        ASSERT_EQ(std::get<1>(*entry)->get_id(), std::to_string(i));
    }
    EXPECT_EQ(pool.get(), nullptr);
    EXPECT_EQ(pool.taken.size(), static_cast<size_t>(count));
}

TEST(InputPool, ConcurrentAddAndGetLoseNothing) {
    const int threads = 4;
    const int per_thread = 2000;
    dez::InputPool pool;
    std::vector<std::vector<std::string>> got(threads);
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([&, t] {
            for (int i = 0; i < per_thread; ++i) {
                pool.add_data(std::to_string(t) + ":" + std::to_string(i), "x");
                if (auto entry = pool.get())
                    got[t].push_back(std::get<1>(*entry)->get_id());
            }
        });
    }
    for (auto& w : workers)
        w.join();
    while (auto entry = pool.get())
        got[0].push_back(std::get<1>(*entry)->get_id());

    std::multiset<std::string> all;
    for (const auto& ids : got)
        all.insert(ids.begin(), ids.end());
    EXPECT_EQ(all.size(), static_cast<size_t>(threads * per_thread));
    EXPECT_EQ(std::set<std::string>(all.begin(), all.end()).size(), all.size());
    EXPECT_EQ(pool.taken.size(), all.size());
}

} // namespace

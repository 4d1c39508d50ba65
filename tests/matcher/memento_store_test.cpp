#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "matcher/memento_store.h"

namespace dez::trelix {
namespace {

TEST(MementoStore, AnswersTheValueRecordedLastBeforeOrAtTheOffset) {
    MementoStore store;
    store.add("k", "a", 5);
    store.add("k", "b", 9);
    struct Case {
        const char* value;
        unsigned int offset;
        bool expected;
    };
    for (const Case& c : {Case{"a", 7, true}, Case{"b", 7, false}, Case{"a", 9, true},
                          Case{"b", 9, true}, Case{"a", 20, false}, Case{"b", 20, true},
                          Case{"a", 3, false}, Case{"a", 5, true}}) {
        EXPECT_EQ(store.has("k", c.value, c.offset), c.expected) << c.value << "@" << c.offset;
    }
    EXPECT_FALSE(store.has("other", "a", 7));
}

TEST(MementoStore, AddKeepsLocationOrderAndSkipsAnImmediateRepeat) {
    MementoStore store;
    store.add("k", "a", 5);
    store.add("k", "a", 5);
    EXPECT_EQ(store["k"].entries.size(), 1u);
    store.add("k", "b", 5);
    store.add("k", "a", 5);
    store.add("k", "z", 1);
    std::vector<std::string> order;
    for (const MementoData& entry : store["k"].entries)
        order.push_back(std::to_string(entry.location) + entry.value);
    EXPECT_EQ(order, (std::vector<std::string>{"1z", "5a", "5b", "5a"}));
}

} // namespace
} // namespace dez::trelix

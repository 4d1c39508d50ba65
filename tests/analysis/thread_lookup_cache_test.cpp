#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "analysis/lookup_proxy.h"
#include "analysis/morph_data.h"
#include "analysis/thread_lookup_cache.h"
#include "tests/analysis/lookup_fixture.h"

namespace dez::trelix {
namespace {

using core::LookupProxy;
using fixture::ChainDocument;
using fixture::ChainModule;
using fixture::CountingLookup;
using Strings = std::vector<std::string>;
namespace kept = core::thread_lookup_cache;

std::shared_ptr<CountingLookup> counting() {
    return std::make_shared<CountingLookup>(
        std::map<std::string, Strings>{{"tree", {"tree+Nn"}}, {"walk", {"walk+V"}}});
}

// A step of a fresh document, kept across documents under `id`.
struct Step {
    Step(std::shared_ptr<CountingLookup> strategy, uint64_t id, const std::string& properties)
        : proxy(std::make_shared<LookupProxy>(std::move(strategy), document.document.get())) {
        proxy->shared_step = id;
        proxy->properties = properties;
    }
    ChainDocument document{ChainModule{}};
    std::shared_ptr<LookupProxy> proxy;
};

TEST(ThreadLookupCache, AnswersOutliveTheDocument) {
    const auto strategy = counting();
    const uint64_t id = kept::new_step_id();
    {
        Step first(strategy, id, "+x");
        EXPECT_EQ(first.proxy->lookup("tree"), Strings{"tree+Nn+x"});
        EXPECT_TRUE(first.proxy->lookup("zzz").empty());
    }
    // A later document of the language walks neither the known nor the
    // unknown word again, and adds its own suffix to the kept answer.
    Step second(strategy, id, "+y");
    EXPECT_EQ(second.proxy->lookup("tree"), Strings{"tree+Nn+y"});
    EXPECT_EQ(second.proxy->lookup("tree"), Strings{"tree+Nn+y"});
    EXPECT_TRUE(second.proxy->lookup("zzz").empty());
    EXPECT_EQ(strategy->calls["tree"], 1);
    EXPECT_EQ(strategy->calls["zzz"], 1);
    // The form without cache still walks.
    EXPECT_EQ(second.proxy->lookup_no_cache("tree"), Strings{"tree+Nn+y"});
    EXPECT_EQ(strategy->calls["tree"], 2);
}

TEST(ThreadLookupCache, StepsNeverShareAnswers) {
    const auto a = counting();
    const auto b =
        std::make_shared<CountingLookup>(std::map<std::string, Strings>{{"tree", {"tree+V"}}});
    const uint64_t id_a = kept::new_step_id(), id_b = kept::new_step_id();
    Step first(a, id_a, "");
    EXPECT_EQ(first.proxy->lookup("tree"), Strings{"tree+Nn"});
    Step second(b, id_b, "");
    EXPECT_EQ(second.proxy->lookup("tree"), Strings{"tree+V"});
    EXPECT_EQ(b->calls["tree"], 1);

    // Id 0 keeps nothing: each document walks once.
    const auto unkept = counting();
    for (int document = 0; document < 2; ++document) {
        Step step(unkept, 0, "");
        EXPECT_EQ(step.proxy->lookup("walk"), Strings{"walk+V"});
        EXPECT_EQ(step.proxy->lookup("walk"), Strings{"walk+V"});
    }
    EXPECT_EQ(unkept->calls["walk"], 2);
}

TEST(ThreadLookupCache, EachThreadKeepsItsOwn) {
    const uint64_t id = kept::new_step_id();
    kept::add(id, "tree", {"tree+Nn"});
    const std::vector<std::string>* elsewhere = nullptr;
    std::thread([&] { elsewhere = kept::find(id, "tree"); }).join();
    EXPECT_EQ(elsewhere, nullptr);
    ASSERT_NE(kept::find(id, "tree"), nullptr);
    EXPECT_EQ(*kept::find(id, "tree"), Strings{"tree+Nn"});
}

TEST(ThreadLookupCache, MemoryIsBounded) {
    kept::clear();
    const uint64_t id = kept::new_step_id();
    const auto word = [](std::size_t i) { return "w" + std::to_string(i); };
    const std::size_t generation = kept::thread_cache_generation;
    for (std::size_t i = 0; i < generation; ++i)
        kept::add(id, word(i), {word(i) + "+Nn"});
    // The first generation is full: it becomes the older one.
    kept::add(id, word(generation), {});
    // Found in the older generation: moves into the newer one.
    ASSERT_NE(kept::find(id, word(0)), nullptr);
    EXPECT_EQ(*kept::find(id, word(0)), Strings{"w0+Nn"});
    // The newer generation fills in turn; the older is dropped.
    for (std::size_t i = generation + 1; i <= 2 * generation + 1; ++i)
        kept::add(id, word(i), {});
    EXPECT_NE(kept::find(id, word(0)), nullptr);
    EXPECT_EQ(kept::find(id, word(1)), nullptr);
    EXPECT_NE(kept::find(id, word(2 * generation + 1)), nullptr);

    // Too many steps: the least recently used goes.
    kept::clear();
    std::vector<uint64_t> ids;
    for (std::size_t i = 0; i <= kept::thread_cache_steps; ++i) {
        ids.push_back(kept::new_step_id());
        kept::add(ids.back(), "tree", {"tree+Nn"});
        if (i == 0)
            continue;
        // The first step stays in use.
        ASSERT_NE(kept::find(ids.front(), "tree"), nullptr) << i;
    }
    EXPECT_NE(kept::find(ids.front(), "tree"), nullptr);
    EXPECT_EQ(kept::find(ids[1], "tree"), nullptr);
    EXPECT_NE(kept::find(ids.back(), "tree"), nullptr);

    // Long words are never kept: they are walked in each document that has
    // them, and memory stays bounded whatever the text.
    const std::string longest(kept::thread_cache_word_bytes, 'a');
    const std::string longer = longest + "a";
    kept::add(id, longest, {"a+Nn"});
    kept::add(id, longer, {"a+Nn"});
    EXPECT_NE(kept::find(id, longest), nullptr);
    EXPECT_EQ(kept::find(id, longer), nullptr);
}

TEST(ThreadLookupCache, EachLoadOfAStepGetsANewId) {
    const nlohmann::json entry = {{"lookup", "icu"}};
    const auto first = core::MorphData::create_descriptor(nullptr, entry);
    const auto again = core::MorphData::create_descriptor(nullptr, entry);
    EXPECT_NE(first.shared_step_id, 0u);
    EXPECT_NE(again.shared_step_id, 0u);
    EXPECT_NE(first.shared_step_id, again.shared_step_id);
    // Documents' steps carry their descriptor's id.
    const auto step = core::MorphData::create(first, nullptr);
    EXPECT_EQ(std::static_pointer_cast<LookupProxy>(step)->shared_step, first.shared_step_id);
}

} // namespace
} // namespace dez::trelix

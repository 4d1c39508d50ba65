#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "analysis/lookup_cache.h"
#include "analysis/lookup_chain.h"
#include "analysis/lookup_chain_factory.h"
#include "analysis/lookup_proxy.h"
#include "analysis/morph_data.h"
#include "foundation/regex.h"
#include "tests/analysis/lookup_fixture.h"

namespace dez::trelix::core {
namespace {

using fixture::ChainDocument;
using fixture::ChainModule;
using fixture::CountingLookup;
using Strings = std::vector<std::string>;

TEST(LookupCacheSlots, KeyedByStepAndWord) {
    LookupCache cache;
    const std::size_t a = cache.add_step();
    const std::size_t b = cache.add_step();
    EXPECT_NE(a, b);
    EXPECT_EQ(cache.lookup(a, "word"), nullptr);
    cache.add(a, "word", {"word+Nn"});
    cache.add(a, "word", {"other"}); // the first answer stays
    cache.add(b, "word", {});
    ASSERT_NE(cache.lookup(a, "word"), nullptr);
    EXPECT_EQ(*cache.lookup(a, "word"), Strings{"word+Nn"});
    ASSERT_NE(cache.lookup(b, "word"), nullptr);
    EXPECT_TRUE(cache.lookup(b, "word")->empty());
    EXPECT_EQ(cache.lookup(b, "other"), nullptr);
    EXPECT_EQ(cache.lookup(7, "word"), nullptr);

    cache.clear();
    EXPECT_EQ(cache.lookup(a, "word"), nullptr);
    EXPECT_NE(cache.add_step(), b); // slots are never reused
}

// Two steps of one document over counting strategies.
class Proxies : public ::testing::Test {
protected:
    std::shared_ptr<LookupProxy> step(std::shared_ptr<CountingLookup> strategy,
                                      const std::string& properties = "") {
        auto proxy = std::make_shared<LookupProxy>(strategy, document.document.get());
        proxy->properties = properties;
        return proxy;
    }

    ChainDocument document{ChainModule{}};
    std::shared_ptr<CountingLookup> a =
        std::make_shared<CountingLookup>(std::map<std::string, Strings>{{"tree", {"tree+Nn"}}});
    std::shared_ptr<CountingLookup> b = std::make_shared<CountingLookup>(
        std::map<std::string, Strings>{{"tree", {"tree+V"}}, {"walk", {"walk+V"}}});
};

TEST_F(Proxies, EachStepKeepsItsOwnAnswers) {
    auto first = step(a, "+x");
    auto second = step(b);
    EXPECT_EQ(first->lookup("tree"), Strings{"tree+Nn+x"});
    // Another step never receives the first step's cached answer or suffix.
    EXPECT_EQ(second->lookup("tree"), Strings{"tree+V"});
    // A hit returns the suffix once.
    EXPECT_EQ(first->lookup("tree"), Strings{"tree+Nn+x"});
    EXPECT_EQ(second->lookup("tree"), Strings{"tree+V"});
    EXPECT_EQ(a->calls["tree"], 1);
    EXPECT_EQ(b->calls["tree"], 1);
}

TEST_F(Proxies, UnknownWordsAreWalkedOncePerStep) {
    auto first = step(a);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(first->lookup("zzz").empty());
    EXPECT_EQ(a->calls["zzz"], 1);
}

TEST_F(Proxies, NoCacheFormNeitherReadsNorFills) {
    auto first = step(a, "+x");
    EXPECT_EQ(first->lookup_no_cache("tree"), Strings{"tree+Nn+x"});
    EXPECT_EQ(first->lookup_no_cache("tree"), Strings{"tree+Nn+x"});
    EXPECT_EQ(a->calls["tree"], 2);
    for (const auto& answers : document.document->lookup_cache->entries)
        EXPECT_TRUE(answers.empty());
    first->lookup("tree");
    EXPECT_EQ(first->lookup_no_cache("tree"), Strings{"tree+Nn+x"});
    EXPECT_EQ(a->calls["tree"], 4);
}

TEST_F(Proxies, ChainFunctionsStopAtTheFirstAnswer) {
    const std::vector<std::shared_ptr<ILookup>> chain{step(a), step(b)};
    EXPECT_EQ(lookup_chain(chain, "tree"), Strings{"tree+Nn"});
    EXPECT_EQ(lookup_chain(chain, "walk"), Strings{"walk+V"});
    EXPECT_TRUE(lookup_chain(chain, "zzz").empty());
    EXPECT_EQ(lookup_chain_no_cache(chain, "walk"), Strings{"walk+V"});
    EXPECT_TRUE(lookup_chain({}, "tree").empty());
    EXPECT_EQ(b->calls["tree"], 0);
}

TEST_F(Proxies, FirstAndOthers) {
    MorphData data;
    EXPECT_TRUE(data.first("walk").empty());
    EXPECT_TRUE(data.others("walk").empty());
    EXPECT_TRUE(data.lookup("walk").empty());
    data.add(step(a));
    EXPECT_TRUE(data.others("tree").empty());
    data.add(step(b));
    EXPECT_EQ(std::distance(data.begin(), data.end()), 2);
    // The first step answers the same at every occurrence: a later step's
    // answer never leaks into it through the cache.
    for (int occurrence = 0; occurrence < 2; ++occurrence) {
        EXPECT_TRUE(data.first("walk").empty()) << occurrence;
        EXPECT_EQ(data.others("walk"), Strings{"walk+V"}) << occurrence;
        EXPECT_EQ(data.lookup("walk"), Strings{"walk+V"}) << occurrence;
        EXPECT_EQ(data.first("tree"), Strings{"tree+Nn"}) << occurrence;
        EXPECT_EQ(data.others("tree"), Strings{"tree+V"}) << occurrence;
    }
    EXPECT_TRUE(data.guess("walk").empty());
}

TEST(MorphDataCreate, StrategiesByType) {
    const auto lexicon = fixture::afst_of({"cat:cat[+Nn]", "dog:dog[+Nn]"});
    ChainDocument document{ChainModule{}};
    struct Case {
        int64_t type;
        std::string word;
        Strings expected;
    };
    const Case cases[] = {
        {0, "cat", {"cat+Nn"}},
        {1, "dog", {"dog+Nn"}},
        {10, "Paris", {"Paris+Prop-Std"}},
    };
    for (const Case& c : cases) {
        MorphDataDescriptor descriptor;
        descriptor.lookup_type = c.type;
        descriptor.afst = lexicon;
        descriptor.properties = "+p";
        auto step = MorphData::create(descriptor, document.document.get());
        auto* proxy = dynamic_cast<LookupProxy*>(step.get());
        ASSERT_NE(proxy, nullptr);
        EXPECT_EQ(proxy->strategy->type(), c.type == 0 ? 1 : c.type);
        Strings expected = c.expected;
        for (std::string& e : expected)
            e += "+p";
        EXPECT_EQ(step->lookup(c.word), expected) << c.type;
    }
}

TEST(MorphDataCreate, RefusesStepsItCannotServe) {
    ChainDocument document{ChainModule{}};
    struct Case {
        int64_t type;
        bool afst;
        bool guesser;
        std::string message;
    };
    const Case cases[] = {
        {2, true, false, "No lookup strategy for the lookup type 2"},
        {11, true, false, "No lookup strategy for the lookup type 11"},
        {1, false, false, "No transducer for the lookup step of morph file:[x.morph]"},
        {6, false, false, "No transducer for the lookup step of morph file:[x.morph]"},
        {7, true, false, "Missing 'guesser' morph file in the language config file"},
    };
    for (const Case& c : cases) {
        MorphDataDescriptor descriptor;
        descriptor.lookup_type = c.type;
        descriptor.file = "x.morph";
        if (c.afst)
            descriptor.afst = fixture::afst_of({"cat:cat[+Nn]"});
        try {
            MorphData::create(descriptor, document.document.get());
            ADD_FAILURE() << "no failure for type " << c.type;
        } catch (const dez::Exception& e) {
            EXPECT_EQ(std::string(e.what()), c.message);
        }
    }
}

TEST(DocumentChains, BuiltWhenTheDocumentGetsItsModule) {
    ChainModule chains;
    chains.chain = {fixture::plain({"cat:cat[+Nn]"}), fixture::plain({"dog:dog[+Nn]"}, "+second")};
    chains.guessers = {fixture::plain({"blick:blick[+Nn]"}, "+guess")};
    chains.named = {{"abbrev", {fixture::plain({"Dr.:doctor[+Nn]"})}}};
    ChainDocument document(chains);
    const auto& data = *document.document->lookup_chains;
    EXPECT_EQ(data.chain.size(), 2u);
    EXPECT_EQ(data.lookup("dog"), Strings{"dog+Nn+second"});
    EXPECT_EQ(data.guess("blick"), Strings{"blick+Nn+guess"});
    ASSERT_EQ(document.document->named_lookups.count("abbrev"), 1u);
    EXPECT_EQ(lookup_chain(document.document->named_lookups.at("abbrev"), "Dr."),
              Strings{"doctor+Nn"});

    // With the analyzer option "guesser" off there are no guessers.
    ChainDocument no_guesser(chains, R"({"guesser":"false"})");
    EXPECT_TRUE(no_guesser.document->lookup_chains->guessers.empty());
    EXPECT_TRUE(no_guesser.document->lookup_chains->guess("blick").empty());

    // A guesser never receives an answer the chain cached for the word.
    EXPECT_EQ(data.lookup("blick"), Strings{});
    chains.chain.push_back(fixture::plain({"blick:blick[+V]"}));
    ChainDocument both(chains);
    EXPECT_EQ(both.document->lookup_chains->lookup("blick"), Strings{"blick+V"});
    EXPECT_EQ(both.document->lookup_chains->guess("blick"), Strings{"blick+Nn+guess"});
    chains.chain.pop_back();

    // A new module gives new steps and forgets the old answers.
    document.document->set_languge_module(chains.make());
    for (const auto& answers : document.document->lookup_cache->entries)
        EXPECT_TRUE(answers.empty());
    EXPECT_EQ(document.document->lookup_chains->first("cat"), Strings{"cat+Nn"});
}

TEST(DocumentChains, DocumentsShareTheLanguageExpressions) {
    ChainModule chains;
    chains.apostrophes = "(l')\\w+";
    fixture::TestAnalyzer analyzer("{}", chains.make());
    analyzer.module->data->abbreviations = "Dr\\.";
    auto first = fixture::make_blackboard(analyzer);
    auto second = fixture::make_blackboard(analyzer);
    first->set_languge_module(analyzer.module);
    second->set_languge_module(analyzer.module);
    ASSERT_NE(first->apostrophes, nullptr);
    EXPECT_EQ(first->apostrophes, second->apostrophes);
    EXPECT_EQ(first->abbreviations, second->abbreviations);
    EXPECT_TRUE(first->apostrophes->regex_match("l'homme"));
    EXPECT_EQ(first->measures, nullptr);
}

} // namespace
} // namespace dez::trelix::core

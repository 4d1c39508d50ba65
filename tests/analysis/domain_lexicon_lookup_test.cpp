#include <gtest/gtest.h>

#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "analysis/domain_lexicon_lookup.h"
#include "analysis/lexicon_facade.h"
#include "analysis/lexicon_logger.h"
#include "analysis/load_lexicons.h"
#include "analysis/lookup_streams.h"
#include "api/profiler.h"
#include "core-afst/serialization.h"
#include "document/concept.h"
#include "domain/domain_facade.h"
#include "domain/load_domain.h"
#include "foundation/exception.h"
#include "foundation/inline_logger.h"
#include "tests/document/insertion_fixture.h"
#include "tests/domain/temp_tree.h"
#include "tests/engine/domain_fixture.h"

namespace dez::trelix {
namespace {

using namespace fixture;

const LexiconRow new_york{"literal", {"New York:Place@type=city"}, ""};

// Documents of one sentence and domains written to a temporary folder.
class LexiconPass : public ::testing::Test {
protected:
    std::shared_ptr<DomainFacade> domain(const std::string& name,
                                         const std::vector<LexiconRow>& rows) {
        const auto file = tree.root / (name + ".dom");
        write_domain(file, rows);
        auto facade = std::make_shared<DomainFacade>(file.string());
        EXPECT_TRUE(load_domain(*facade, {}, file.string()));
        return facade;
    }

    std::unique_ptr<InsertionDocument> document(const std::string& text,
                                                const char* analyzer_options = "{}") {
        return std::make_unique<InsertionDocument>(analyzer_options, "{}", text);
    }

    static std::vector<const Concept*> concepts_named(const Sentence& sentence,
                                                      const std::string& uri) {
        std::vector<const Concept*> found;
        for (const Annotation* a = sentence.annotations.head; a; a = a->next)
            if (a->type == annotation_concept && static_cast<const Concept*>(a)->uri == uri)
                found.push_back(static_cast<const Concept*>(a));
        return found;
    }

    dez::pipeline::fixture::TempTree tree;
};

TEST_F(LexiconPass, PhraseBecomesAConceptOverItsTokens) {
    auto doc = document("New York is big");
    auto geo = domain("geo", {new_york});
    doc->document->domains = {{"geo", geo}};

    EXPECT_TRUE(all_domains_lexicon_lookup(*doc->document));
    EXPECT_EQ(doc->layout(),
              "Sentence(0,15) Place(0,8) New York e8[Place] is big e15[Sentence] eos");
    const auto places = concepts_named(*doc->sentence, "Place");
    ASSERT_EQ(places.size(), 1u);
    EXPECT_EQ(places[0]->get_attribute("type"), "city");

    // Only the stream a lexicon reads is built.
    const stream_collection_type& streams = get_lookup_streams(*doc->document);
    for (std::size_t type = 0; type < streams.size(); ++type)
        EXPECT_EQ(streams[type].begin_map.empty(), type != dez::literal) << type;
}

TEST_F(LexiconPass, OutputsSplitAtTheFirstAtSign) {
    auto doc = document("alpha beta gamma");
    doc->document->domains = {
        {"d", domain("d", {{"literal", {"alpha:Plain", "beta:Pair@k=v@w", "gamma:@k=v"}, ""}})}};
    all_domains_lexicon_lookup(*doc->document);

    ASSERT_EQ(concepts_named(*doc->sentence, "Plain").size(), 1u);
    EXPECT_TRUE(concepts_named(*doc->sentence, "Plain")[0]->attributes.attributes.empty());
    const auto pairs = concepts_named(*doc->sentence, "Pair");
    ASSERT_EQ(pairs.size(), 1u);
    EXPECT_EQ(pairs[0]->get_attribute("k"), "v@w");
}

TEST_F(LexiconPass, MatchesThatDoNotEndOnATokenEndAddNothing) {
    auto doc = document("New York is big");
    doc->document->domains = {{"d", domain("d", {{"literal", {"New Yo:Fragment", "Ne:Fragment"}, ""}})}};
    EXPECT_TRUE(all_domains_lexicon_lookup(*doc->document));
    EXPECT_TRUE(concepts_named(*doc->sentence, "Fragment").empty());
}

TEST_F(LexiconPass, NoLexiconAnywhereBuildsNothing) {
    auto doc = document("New York", R"({"dbg": "stream_lookup"})");
    doc->document->domains = {{"a", domain("a", {})}, {"b", domain("b", {})}};
    testing::internal::CaptureStderr();
    EXPECT_FALSE(all_domains_lexicon_lookup(*doc->document));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "[Stream Lookup]\n");
    EXPECT_EQ(doc->document->properties.count("asi"), 0u);
}

// Each domain's lexicons run once per document; a pass in which none of them
// will run leaves the buffers as they are.
TEST_F(LexiconPass, EachDomainRunsOncePerDocument) {
    auto doc = document("New York is big", R"({"dbg": "stream_lookup"})");
    doc->document->domains = {{"first", domain("first", {new_york})},
                              {"second", domain("second", {new_york})}};

    auto lookups = [&] {
        testing::internal::CaptureStderr();
        all_domains_lexicon_lookup(*doc->document);
        std::istringstream trace(testing::internal::GetCapturedStderr());
        std::size_t count = 0;
        for (std::string line; std::getline(trace, line);)
            count += line.rfind("[literal]:", 0) == 0;
        return count;
    };
    EXPECT_EQ(lookups(), 8u) << "four tokens, two domains";
    EXPECT_EQ(concepts_named(*doc->sentence, "Place").size(), 1u)
        << "the second domain updates the concept the first one made";

    stream_collection_type& streams = get_lookup_streams(*doc->document);
    streams[dez::literal].buffer.assign({'k', 'e', 'p', 't'});
    EXPECT_EQ(lookups(), 0u);
    EXPECT_EQ(std::string(streams[dez::literal].buffer.begin(), streams[dez::literal].buffer.end()),
              "kept");
    EXPECT_EQ(concepts_named(*doc->sentence, "Place").size(), 1u);

    // A domain new to the document runs, over freshly built buffers.
    doc->document->domains.emplace_back("third", domain("third", {new_york}));
    EXPECT_EQ(lookups(), 4u);
}

// With a profiler, each domain's lexicon pass is timed once per document
// under "lexicon:" and its store path, and its matches count as its hits.
TEST_F(LexiconPass, ProfilerTimesEachDomainsPassOnce) {
    auto doc = document("New York is big", R"({"profiler": "true"})");
    auto geo = domain("geo", {new_york});
    doc->document->domains = {{"geo", geo}, {"empty", domain("empty", {})}};
    ASSERT_TRUE(doc->document->profiler);

    EXPECT_TRUE(all_domains_lexicon_lookup(*doc->document));
    EXPECT_TRUE(all_domains_lexicon_lookup(*doc->document));
    const auto& infos = doc->document->profiler->infos;
    ASSERT_EQ(infos.size(), 1u);
    const profiler::Info& info = infos.at("lexicon:" + geo->get_sqlite_filename());
    EXPECT_EQ(info.count, 1);
    EXPECT_GE(info.total_time, 0.0);
    EXPECT_EQ(info.hits.at("Place").count, 1u);
}

TEST_F(LexiconPass, TraceShowsEachLookupAndMatch) {
    auto doc = document("New York", R"({"dbg": "stream_lookup"})");
    doc->document->domains = {{"geo", domain("geo", {new_york})}};
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    all_domains_lexicon_lookup(*doc->document);
    const std::string errors = testing::internal::GetCapturedStderr();
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_EQ(errors, "[Stream Lookup]\n"
                      "[literal]:New York \n"
                      "[result]:\n"
                      " - length    :8\n"
                      " - uri       :Place@type=city\n"
                      " - total     :8\n"
                      "[literal]:York \n");
    EXPECT_EQ(output, "Display Lexicon Streams\ninput= literal\n[New York ]\n");
}

TEST_F(LexiconPass, StreamsFlagPrintsBuffersWithoutTracingLookups) {
    auto doc = document("New York", R"({"dbg": "streams"})");
    doc->document->domains = {{"geo", domain("geo", {new_york})}};
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    all_domains_lexicon_lookup(*doc->document);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Display Lexicon Streams\ninput= literal\n[New York ]\n");
}

// "nf-lex" marks a token that the language lookup did not know ("nf") and no
// domain lexicon looked at; any domain that looked it up removes it.
TEST_F(LexiconPass, NotFoundMarkIsDecidedOverAllDomains) {
    struct Case {
        const char* title;
        std::vector<std::string> domains; // "lexicon" or "empty", in run order
        bool marked;                      // "is" ends with nf-lex
    };
    const std::vector<Case> cases{
        {"LookedUpByTheFirst", {"lexicon", "empty"}, false},
        {"LookedUpByTheLast", {"empty", "lexicon"}, false},
        {"NotLookedUp", {"empty"}, true},
    };
    for (const Case& c : cases) {
        auto doc = document("New York is big");
        Token* is = token_at(*doc->sentence, 2);
        Token* big = token_at(*doc->sentence, 3);
        is->properties = {"nf", "nf-lex"};
        big->properties = {};
        for (std::size_t i = 0; i < c.domains.size(); ++i) {
            const std::string name = c.title + std::to_string(i);
            doc->document->domains.emplace_back(
                name, domain(name, c.domains[i] == "lexicon" ? std::vector<LexiconRow>{new_york}
                                                             : std::vector<LexiconRow>{}));
        }
        if (c.domains == std::vector<std::string>{"empty"})
            doc->document->domains.emplace_back("other", domain("other", {new_york}));
        if (c.marked) {
            // The only lexicon belongs to a domain that already ran.
            doc->document->lexicons_run.insert("other");
        }
        all_domains_lexicon_lookup(*doc->document);
        EXPECT_EQ(is->properties.count("nf-lex"), c.marked ? 1u : 0u) << c.title;
        EXPECT_EQ(big->properties.count("nf-lex"), 0u) << c.title << ": no nf, no nf-lex";
    }
}

// A token that opens its sentence list and gets no concept in front of it
// (both insertions are refused) has nothing before it to go on from: the
// walk goes on from the list head and reaches the next token.
TEST_F(LexiconPass, RefusedMatchAtTheListHeadKeepsTheWalkGoing) {
    TestAnalyzer analyzer;
    auto document = make_blackboard(analyzer);
    const std::string text = "New\nYork";
    document->set_text(text.data(), text.size());
    auto* sentence = new Sentence(0, 8);
    sentence->annotations.push_back(new Token(0, 3, "New"));
    sentence->annotations.push_back(new Token(4, 8, "York"));
    sentence->annotations.push_back(new EndOfStream(8));
    document->annotations->push_back(sentence);
    document->sentences.emplace_back(0, SentenceInfo(sentence));

    auto geo = domain("geo", {{"literal", {"New York:Place", "New York:Town", "York:City"}, ""}});
    geo->no_crlf = {"Place", "Town"};
    document->domains = {{"geo", geo}};
    EXPECT_TRUE(all_domains_lexicon_lookup(*document));
    EXPECT_TRUE(concepts_named(*sentence, "Place").empty());
    EXPECT_TRUE(concepts_named(*sentence, "Town").empty());
    EXPECT_EQ(concepts_named(*sentence, "City").size(), 1u);
}

TEST_F(LexiconPass, SingleTokenQueryTriesLiteralNormalizedAndStems) {
    auto doc = document("big BIG bigger small");
    doc->document->domains = {{"d", domain("d", {{"literal", {"big:Size"}, ""}})}};
    token_at(*doc->sentence, 2)->readings.emplace_back("Adj", "big", 1.0);
    const std::vector<std::string> size{"Size"};
    EXPECT_EQ(lexicon_lookup(*doc->document, token_at(*doc->sentence, 0)), size);
    EXPECT_EQ(lexicon_lookup(*doc->document, token_at(*doc->sentence, 1)), size);
    EXPECT_EQ(lexicon_lookup(*doc->document, token_at(*doc->sentence, 2)), size);
    EXPECT_TRUE(lexicon_lookup(*doc->document, token_at(*doc->sentence, 3)).empty());
    EXPECT_TRUE(doc->document->lexicons_run.empty()) << "the query runs nothing";
}

class LexiconLoading : public ::testing::Test {
protected:
    std::shared_ptr<sqlite3> store(const std::vector<LexiconRow>& rows,
                                   const std::optional<std::string>& info = std::nullopt) {
        const auto file = tree.root / ("d" + std::to_string(stores++) + ".dom");
        write_domain(file, rows, info);
        return dez::afst::serialization::open_file(file);
    }
    dez::pipeline::fixture::TempTree tree;
    int stores = 0;
};

TEST_F(LexiconLoading, OneLexiconPerStoredStream) {
    auto db = store({{"literal", {"a:A"}, ""}, {"stem", {"b:B"}, "input=stem;mode=x"}},
                    std::string(R"({"literal": {"entries": 1}})"));
    DomainFacade facade("d");
    load_lexicons(facade, db);
    load_lexicon_info(facade, db);
    ASSERT_EQ(facade.lexicons.size(), 2u);
    EXPECT_EQ(facade.lexicons.at(dez::literal)->input, dez::literal);
    EXPECT_EQ(facade.lexicons.at(dez::stem)->input, dez::stem);
    EXPECT_EQ(facade.lexicons.at(dez::stem)->up("b"), std::vector<std::string>{"B"});
    ASSERT_TRUE(facade.dom_info);
    EXPECT_EQ((*facade.dom_info)["dom"]["lexicons"],
              nlohmann::json::parse(R"({"literal": {"entries": 1}})"));
}

TEST_F(LexiconLoading, BrokenRowsFailTheLoad) {
    {
        auto db = store({}, std::string("{not json"));
        DomainFacade facade("d");
        EXPECT_THROW(load_lexicon_info(facade, db), nlohmann::json::parse_error);
    }
    {
        auto db = store({{"literal", {"a:A"}, "input=nowhere"}});
        DomainFacade facade("d");
        EXPECT_THROW(load_lexicons(facade, db), std::out_of_range);
    }
    {
        auto db = store({});
        const std::string garbage = "no transducer";
        dez::afst::serialization::store_binary_data(db.get(), "entities_head", "", garbage.data(),
                                                    garbage.size());
        DomainFacade facade("d");
        try {
            load_lexicons(facade, db);
            ADD_FAILURE() << "no failure";
        } catch (const dez::Exception& e) {
            EXPECT_STREQ(e.what(), "Could not read data from stream.");
        }
    }
    {
        auto db = store({});
        DomainFacade facade("d");
        load_lexicons(facade, db);
        load_lexicon_info(facade, db);
        EXPECT_TRUE(facade.lexicons.empty());
        EXPECT_FALSE(facade.dom_info) << "no summary, nothing recorded";
    }
}

TEST(PrintVariable, WritesTheKindsItKnows) {
    using dez::log::inline_logger::print_variable;
    const char* null_text = nullptr;
    struct Case {
        boost::any value;
        std::string printed;
    };
    const std::vector<Case> cases{
        {std::string("text"), "text"},
        {static_cast<const char*>("chars"), "chars"},
        {null_text, ""},
        {-3, "-3"},
        {7ul, "7"},
        {9u, "9"},
        {2.5, ""},
        {boost::any(), ""},
    };
    for (const Case& c : cases) {
        std::ostringstream out;
        print_variable(out, c.value);
        EXPECT_EQ(out.str(), c.printed);
        EXPECT_TRUE(out.good()) << c.printed;
    }
}

TEST(LexiconLoggerRecord, EachRecordKindHasItsLayout) {
    auto written = [](const std::function<void(LexiconLogger&)>& fill) {
        testing::internal::CaptureStderr();
        {
            LexiconLogger record;
            fill(record);
        }
        return testing::internal::GetCapturedStderr();
    };
    EXPECT_EQ(written([](LexiconLogger& r) { r("msg", std::string("hello")); }), "hello");
    EXPECT_EQ(written([](LexiconLogger& r) { r("msg", 5)("endl", true)("action", "lookup"); }),
              "\n");
    EXPECT_EQ(written([](LexiconLogger& r) {
                  r("action", std::string("lookup"))("input", std::string("stem"));
              }),
              "[stem]:\n");
    EXPECT_EQ(written([](LexiconLogger& r) {
                  r("action", static_cast<const char*>("other"))("b", 2)("a", std::string("x"));
              }),
              " a:x\n action:other\n b:2\n");
    EXPECT_EQ(written([](LexiconLogger& r) { r("word", std::string("w")); }), "");
}

} // namespace
} // namespace dez::trelix

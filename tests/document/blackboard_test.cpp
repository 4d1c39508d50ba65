#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

#include <nlohmann/json.hpp>

#include "analysis/analyzer.h"
#include "analysis/analyzer_guard.h"
#include "analysis/morph_data.h"
#include "analysis/offset_table.h"
#include "analysis/tokenizer_facade.h"
#include "api/profiler.h"
#include "core-afst/serialization.h"
#include "document/blackboard.h"
#include "domain/domain_facade.h"
#include "engine/language_module.h"
#include "foundation/exception.h"
#include "foundation/language_table.h"
#include "foundation/regex.h"
#include "tests/document/blackboard_fixture.h"
#include "tests/document/log_capture.h"

namespace dez::trelix {
namespace {

using fixture::add_sentence;
using fixture::make_blackboard;
using fixture::make_language_module;
using fixture::TestAnalyzer;

TEST(BlackboardOptionView, LayersDocumentOverAnalyzerOptions) {
    TestAnalyzer analyzer(R"({"language":"german","hmm":"false","only_analyzer":"a"})");
    auto document = make_blackboard(analyzer, R"({"language":"dutch","hmm":"true"})");
    const OptionAnywhere& view = *document->option_anywhere;

    struct Case {
        const char* key;
        std::string expected;
        bool has;
    };
    for (const Case& c : {Case{"language", "dutch", true}, Case{"only_analyzer", "a", true},
                          Case{"missing", "", false}}) {
        EXPECT_EQ(view.get(c.key), c.expected) << c.key;
        EXPECT_EQ(view.has(c.key), c.has) << c.key;
    }
    EXPECT_EQ(view.get("missing", "fallback"), "fallback");
    EXPECT_EQ(view.get("only_analyzer", "fallback"), "a");
    EXPECT_TRUE(view.get_bool("hmm", false));
    EXPECT_TRUE(view.get_bool("missing", true));

    TestAnalyzer only_analyzer(R"({"language":"german"})");
    auto other = make_blackboard(only_analyzer, "{}");
    EXPECT_EQ(other->option_anywhere->get("language"), "german");
    EXPECT_FALSE(other->option_anywhere->get_bool("hmm", false));
}

TEST(BlackboardOptionView, AddChangesNothingAndStrIsTheAnalyzers) {
    TestAnalyzer analyzer(R"({"x":"1"})");
    auto document = make_blackboard(analyzer, R"({"y":"2"})");
    OptionAnywhere& view = *document->option_anywhere;
    view.add("added", "value");
    EXPECT_FALSE(view.has("added"));
    EXPECT_FALSE(document->options->has("added"));
    EXPECT_EQ(view.str(), analyzer.handle.analyzer->options->str());

    // Without its analyzer member the view still reads the analyzer's options
    // through the guard; only str() goes empty.
    document->release_analyzer();
    EXPECT_EQ(document->analyzer, nullptr);
    EXPECT_EQ(view.get("x"), "1");
    EXPECT_EQ(view.str(), "");
    EXPECT_TRUE(document->allow_plugins());
}

TEST(BlackboardOptions, ProfilerDetectHeadersAndDebugFlags) {
    struct Case {
        const char* analyzer_options;
        const char* document_options;
        bool module_detect_headers;
        bool profiler;
        bool detect_headers;
    };
    for (const Case& c : {
             Case{"{}", R"({"profiler":"true"})", true, true, true},
             Case{"{}", "{}", true, false, true},
             Case{R"({"profiler":"true"})", R"({"profiler":"false"})", true, false, true},
             Case{R"({"profiler":"yes"})", "{}", true, true, true},
             // The analyzer options answer before the language's setting.
             Case{R"({"detect_headers":"false"})", "{}", true, false, false},
             Case{"{}", "{}", false, false, false},
             Case{R"({"detect_headers":"false"})", R"({"detect_headers":"true"})", false, false,
                  true},
         }) {
        TestAnalyzer analyzer(c.analyzer_options,
                              make_language_module("english", c.module_detect_headers));
        auto document = make_blackboard(analyzer, c.document_options);
        EXPECT_EQ(document->profiler != nullptr, c.profiler)
            << c.analyzer_options << " " << c.document_options;
        EXPECT_EQ(document->blackboard_options.detect_headers, c.detect_headers)
            << c.analyzer_options << " " << c.document_options;
        EXPECT_TRUE(document->blackboard_options.initial_lower_casing);
    }

    struct Flags {
        const char* dbg;
        bool rule_trigger;
        bool rule_info;
        bool rule_info_short;
    };
    for (const Flags& f :
         {Flags{"", false, false, false}, Flags{"rule_trigger,rule_info", true, true, false},
          Flags{"rule_info_short", false, true, true}}) {
        const std::string options = std::string(R"({"dbg":")") + f.dbg + "\"}";
        TestAnalyzer analyzer(options.c_str());
        auto document = make_blackboard(analyzer);
        EXPECT_EQ(document->blackboard_options.rule_trigger, f.rule_trigger) << f.dbg;
        EXPECT_EQ(document->blackboard_options.rule_info, f.rule_info) << f.dbg;
        EXPECT_EQ(document->blackboard_options.rule_info_short, f.rule_info_short) << f.dbg;
        EXPECT_EQ(document->dbg_options["rule_trigger"], f.rule_trigger) << f.dbg;
    }
}

TEST(Blackboard, ConstructionState) {
    auto& log = fixture::runtime_log();
    log.clear();
    TestAnalyzer analyzer;
    auto document = make_blackboard(analyzer, R"({"a":"b"})");
    EXPECT_EQ(document->analyzer, analyzer.handle.analyzer);
    EXPECT_EQ(document->analyzer_guard->analyzer, analyzer.handle.analyzer);
    EXPECT_EQ(document->engine(), nullptr);
    ASSERT_NE(document->annotations, nullptr);
    EXPECT_TRUE(document->annotations->empty());
    EXPECT_NE(document->lookup_cache, nullptr);
    EXPECT_EQ(document->language, "");
    EXPECT_EQ(document->language_module, nullptr);
    EXPECT_EQ(document->text, nullptr);
    EXPECT_EQ(document->text_length, 0u);
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back().first, dez::wlog::level_trace);
    EXPECT_EQ(log.back().second, "[Blackboard] Options{\"a\":\"b\"}");
}

TEST(Blackboard, HandleWithoutAnalyzerFails) {
    auto options = fixture::options("{}");
    EXPECT_THROW(Blackboard(nullptr, options, nullptr, 0), std::bad_weak_ptr);
    TestAnalyzer analyzer;
    analyzer.handle.analyzer.reset();
    EXPECT_THROW(Blackboard(&analyzer.handle, options, nullptr, 0), std::bad_weak_ptr);
}

TEST(Blackboard, KeepsTheAnalyzerAliveAfterTheHandle) {
    std::weak_ptr<Analyzer> watched;
    std::unique_ptr<Blackboard> document;
    {
        TestAnalyzer analyzer;
        watched = analyzer.handle.analyzer;
        document = make_blackboard(analyzer);
    }
    EXPECT_FALSE(watched.expired());
    document->release_analyzer();
    EXPECT_FALSE(watched.expired());
    document.reset();
    EXPECT_TRUE(watched.expired());
}

TEST(Blackboard, SetAnalyzerTakesEngineAndLanguageModule) {
    TestAnalyzer analyzer;
    auto document = make_blackboard(analyzer);
    document->set_analyzer(analyzer.handle.analyzer);
    EXPECT_EQ(document->engine(), analyzer.engine.get());
    EXPECT_EQ(document->language_module, analyzer.module);
    EXPECT_EQ(document->language, "english");
    ASSERT_NE(document->tokenizer, nullptr);
    EXPECT_NE(document->tokenizer->iterator, nullptr);
    ASSERT_NE(document->lookup_chains, nullptr);
    EXPECT_TRUE(document->lookup_chains->chain.empty());
    EXPECT_EQ(document->abbreviations, nullptr);

    // A null module drops the tokenizer and the expressions only.
    analyzer.module->data->abbreviations = "Dr|Mr";
    document->set_languge_module(analyzer.module);
    ASSERT_NE(document->abbreviations, nullptr);
    EXPECT_TRUE(document->abbreviations->regex_match("Dr"));
    auto chains = document->lookup_chains;
    document->set_languge_module(nullptr);
    EXPECT_EQ(document->language_module, nullptr);
    EXPECT_EQ(document->tokenizer, nullptr);
    EXPECT_EQ(document->abbreviations, nullptr);
    EXPECT_EQ(document->lookup_chains, chains);
    EXPECT_EQ(document->language, "english");
}

TEST(Blackboard, SetLanguageWorksOnTheDocumentsOwnOptions) {
    TestAnalyzer analyzer;
    auto shared = fixture::options(R"({"k":"v"})");
    Blackboard first(&analyzer.handle, shared, nullptr, 0);
    Blackboard second(&analyzer.handle, shared, nullptr, 0);
    first.set_analyzer(analyzer.handle.analyzer);

    first.set_language("german");
    EXPECT_FALSE(shared->has("language"));
    EXPECT_FALSE(second.options->has("language"));
    EXPECT_EQ(first.options->get("language"), "german");
    EXPECT_EQ(first.options->get("k"), "v");
    EXPECT_EQ(first.language, "german");
    EXPECT_EQ(first.genitive_form, dez::language::get_genitive_form("german"));
    ASSERT_EQ(analyzer.engine->requests, std::vector<std::string>{"german"});
    ASSERT_NE(first.language_module, nullptr);
    EXPECT_EQ(first.language_module->name, "german");

    // The same language again changes nothing, not even the options.
    auto options_before = first.options;
    first.set_language("german");
    EXPECT_EQ(first.options, options_before);
    EXPECT_EQ(analyzer.engine->requests.size(), 1u);
}

TEST(Blackboard, MetadataKeepsEveryValue) {
    TestAnalyzer analyzer;
    auto document = make_blackboard(analyzer);
    EXPECT_EQ(document->metadata, nullptr);
    document->set_metadata("k", 1);
    document->set_metadata("k", 2);
    document->set_metadata("other", "x");
    EXPECT_EQ(*document->metadata, nlohmann::json::parse(R"({"k":[1,2],"other":["x"]})"));

    (*document->metadata)["n"] = nullptr;
    document->set_metadata("n", true);
    EXPECT_EQ((*document->metadata)["n"], nlohmann::json::parse("[true]"));

    (*document->metadata)["scalar"] = 5;
    const nlohmann::json before = *document->metadata;
    try {
        document->set_metadata("scalar", 6);
        FAIL() << "no type error";
    } catch (const nlohmann::json::type_error& e) {
        EXPECT_NE(std::string(e.what()).find("cannot use push_back() with number"),
                  std::string::npos);
    }
    EXPECT_EQ(*document->metadata, before);

    *document->metadata = nlohmann::json::array();
    try {
        document->set_metadata("k", 1);
        FAIL() << "no type error";
    } catch (const nlohmann::json::type_error& e) {
        EXPECT_NE(
            std::string(e.what()).find("cannot use operator[] with a string argument with array"),
            std::string::npos);
    }
}

TEST(Blackboard, LexiconRunsOncePerDocument) {
    TestAnalyzer analyzer;
    auto document = make_blackboard(analyzer);
    EXPECT_TRUE(document->can_run_lexicon("geo"));
    EXPECT_FALSE(document->can_run_lexicon("geo"));
    EXPECT_TRUE(document->can_run_lexicon("people"));
    EXPECT_TRUE(make_blackboard(analyzer)->can_run_lexicon("geo"));
}

TEST(Blackboard, SentenceTable) {
    TestAnalyzer analyzer;
    auto document = make_blackboard(analyzer);
    EXPECT_EQ(get_sentence(*document, 0), nullptr);
    EXPECT_EQ(get_sentence(*document, 7), nullptr);

    Sentence* s1 = add_sentence(*document, "a b", 3);    // 3..6
    Sentence* s2 = add_sentence(*document, "cc", 10);    // 10..12
    Sentence* s3 = add_sentence(*document, "d e f", 20); // 20..25
    struct Case {
        uint32_t offset;
        Sentence* expected;
    };
    for (const Case& c : {Case{0, s1}, Case{1, nullptr}, Case{2, nullptr}, Case{3, s1}, Case{9, s1},
                          Case{10, s2}, Case{21, s3}, Case{1000, s3}}) {
        SentenceInfo* info = get_sentence(*document, c.offset);
        EXPECT_EQ(info ? info->sentence : nullptr, c.expected) << c.offset;
    }
    EXPECT_EQ(get_sentence(*document, 21)->annotations, &s3->annotations);
}

TEST(Blackboard, MoveToSentenceStaysInsideTheDocument) {
    TestAnalyzer analyzer;
    auto document = make_blackboard(analyzer);
    EXPECT_EQ(move_to_sentence(*document, nullptr, 1), nullptr);
    Sentence* s[4];
    for (int i = 0; i < 4; ++i)
        s[i] = add_sentence(*document, "w", static_cast<uint32_t>(i * 2));
    struct Case {
        int from;
        int n;
        int expected;
    };
    for (const Case& c : {Case{1, 1, 2}, Case{1, 0, 1}, Case{2, -2, 0},
                          // Forward past the end stops at the last sentence.
                          Case{2, 2, 3}, Case{3, 1, 3}, Case{0, 100, 3},
                          // Backward past the start stops at the first one.
                          Case{1, -2, 0}, Case{0, -1, 0}}) {
        EXPECT_EQ(move_to_sentence(*document, s[c.from], c.n), s[c.expected])
            << c.from << " by " << c.n;
    }
}

TEST(Blackboard, IdIsTheOptionOrTheHashOfItsOwnCopyOfTheText) {
    TestAnalyzer analyzer;
    auto document = make_blackboard(analyzer);
    EXPECT_EQ(document->id(), "5381");

    std::vector<char> host(std::begin("a"), std::end("a"));
    document->set_text(host.data(), 1);
    std::memset(host.data(), 'z', host.size());
    host.clear();
    host.shrink_to_fit();
    EXPECT_EQ(document->id(), "177670");
    EXPECT_STREQ(document->text, "a");
    EXPECT_EQ(document->text_length, 1u);

    auto twin = make_blackboard(analyzer);
    const std::string text = "Hello w\xC3\xB6rld";
    twin->set_text(text.c_str(), text.size());
    auto other = make_blackboard(analyzer);
    other->set_text(text.c_str(), text.size());
    EXPECT_EQ(twin->id(), other->id());
    EXPECT_NE(twin->id(), document->id());

    // The hash stops at the first zero byte.
    const char with_zero[] = {'a', '\0', 'b'};
    other->set_text(with_zero, 3);
    EXPECT_EQ(other->text_length, 3u);
    EXPECT_EQ(other->id(), "177670");

    EXPECT_EQ(make_blackboard(analyzer, R"({"id":"doc-7"})")->id(), "doc-7");
    auto empty_id = make_blackboard(analyzer, R"({"id":""})");
    empty_id->set_text("a", 1);
    EXPECT_EQ(empty_id->id(), "177670");
}

TEST(Blackboard, ByteOffsets) {
    TestAnalyzer analyzer;
    auto document = make_blackboard(analyzer);
    try {
        document->get_byte_offset(0);
        FAIL() << "no exception";
    } catch (const dez::Exception& e) {
        EXPECT_STREQ(e.what(), "unkown unicode offset mapping");
    }
    const std::string text = "a\xC3\xA9\xF0\x9F\x98\x80"
                             "b";
    document->set_text(text.c_str(), text.size());
    document->offset_table =
        generate_offset_mappings(document->text, static_cast<int>(document->text_length));
    const uint32_t expected[] = {0, 1, 3, 7, 8};
    for (uint32_t i = 0; i < 5; ++i)
        EXPECT_EQ(document->get_byte_offset(i), expected[i]) << i;
    EXPECT_EQ(document->get_byte_offset(100), 100u);
}

TEST(Blackboard, FullRuleName) {
    TestAnalyzer analyzer;
    auto document = make_blackboard(analyzer);
    document->rule_files["abc"] = "rules/people";
    struct Case {
        const char* id;
        const char* expected;
    };
    for (const Case& c :
         {Case{"abc:Person", "file:/rules/people:Person"}, Case{"abc", "file:/rules/people"},
          Case{"xyz:Person", "xyz:Person"}, Case{"ab:c", "ab:c"}, Case{"", ""}})
        EXPECT_EQ(document->full_rule_name(c.id), c.expected) << c.id;

    TestAnalyzer short_names(R"({"dbg":"rule_info_short"})");
    auto other = make_blackboard(short_names);
    other->rule_files["abc"] = "rules/people";
    EXPECT_EQ(other->full_rule_name("abc:Person"), "abc:Person");
}

class BlackboardDomainFiles : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("trelix_blackboard_" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        domain_file = folder / "geo.dom";
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    void write_dom_inc(const std::string& json) {
        auto db = dez::afst::serialization::open_file(folder / "geo.dom_inc");
        ASSERT_TRUE(dez::afst::serialization::create_cbf_table(db.get()));
        dez::afst::serialization::store_binary_data(db.get(), "uniq_id_2_filename_map", "",
                                                    json.data(), json.size());
    }

    std::shared_ptr<DomainFacade> facade() {
        auto domain = std::make_shared<DomainFacade>("geo");
        domain->sqlite_filename = domain_file.string();
        return domain;
    }

    std::filesystem::path folder;
    std::filesystem::path domain_file;
};

TEST_F(BlackboardDomainFiles, RuleInfoReadsTheRuleFilesOfTheDomain) {
    write_dom_inc(R"({"0_places.tlx":"/src/places.tlx","known":"/src/new.tlx"})");
    TestAnalyzer analyzer(R"({"dbg":"rule_info"})");
    auto document = make_blackboard(analyzer);
    document->rule_files["known"] = "/src/old.tlx";
    auto domain = facade();
    document->set_current_domain(domain);
    EXPECT_EQ(document->current_domain, domain);
    EXPECT_EQ(document->rule_files.at("0_places.tlx"), "/src/places.tlx");
    EXPECT_EQ(document->rule_files.at("known"), "/src/old.tlx");
    EXPECT_EQ(document->full_rule_name("0_places.tlx:rule"), "file://src/places.tlx:rule");
}

TEST_F(BlackboardDomainFiles, WithoutRuleInfoOrFileNothingIsRead) {
    write_dom_inc(R"({"a":"b"})");
    TestAnalyzer analyzer;
    auto document = make_blackboard(analyzer);
    document->set_current_domain(facade());
    EXPECT_TRUE(document->rule_files.empty());

    std::filesystem::remove(folder / "geo.dom_inc");
    TestAnalyzer with_info(R"({"dbg":"rule_info"})");
    auto other = make_blackboard(with_info);
    other->set_current_domain(facade());
    EXPECT_TRUE(other->rule_files.empty());
    EXPECT_FALSE(std::filesystem::exists(folder / "geo.dom_inc"));
}

// Logs its own destruction.
class RecordingOptions : public dez::Options {
public:
    RecordingOptions(const char* text, std::vector<std::string>* log, std::string name)
        : dez::Options(text), log(log), name(std::move(name)) {}
    ~RecordingOptions() override { log->push_back(name); }

    std::vector<std::string>* log;
    std::string name;
};

class RecordingEngine : public fixture::TestEngine {
public:
    explicit RecordingEngine(std::vector<std::string>* log) : log(log) {}
    ~RecordingEngine() override { log->push_back("engine"); }

    std::vector<std::string>* log;
};

TEST(Blackboard, DestructorReleasesMembersInReverseOrder) {
    std::vector<std::string> log;
    std::unique_ptr<Blackboard> document;
    {
        auto engine = std::make_shared<RecordingEngine>(&log);
        dez::api::Analyzer handle(
            engine, make_language_module("english"),
            std::make_shared<RecordingOptions>("{}", &log, "analyzer options"));
        document = std::make_unique<Blackboard>(
            &handle, std::make_shared<RecordingOptions>("{}", &log, "document options"), nullptr,
            0);
        document->set_analyzer(handle.analyzer);
        document->properties["late"] = std::shared_ptr<void>(new int(0), [&log](void* p) {
            log.push_back("properties");
            delete static_cast<int*>(p);
        });
    }
    EXPECT_TRUE(log.empty());
    document.reset();
    EXPECT_EQ(log, (std::vector<std::string>{"properties", "document options", "analyzer options",
                                             "engine"}));
}

} // namespace
} // namespace dez::trelix

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <boost/make_shared.hpp>
#include <nlohmann/json.hpp>

#include "analysis/analyzer.h"
#include "analysis/analyzer_guard.h"
#include "analysis/offset_table.h"
#include "document/blackboard.h"
#include "engine/language_module.h"
#include "engine/language_module_data.h"
#include "foundation/exception.h"
#include "foundation/qvr_exception.h"
#include "tests/core-afst/error_of.h"
#include "tests/document/blackboard_fixture.h"
#include "tests/matcher/recording_plugin.h"

namespace dez::trelix {
namespace {

// The text of the exception a call throws, "<no exception>" without one.
const auto failure_of = afst_test::error_of;

using fixture::RecordingPlugin;

std::size_t sentence_count(const Blackboard& document) {
    std::size_t count = 0;
    for (const Annotation* a = document.annotations->head; a; a = a->next)
        ++count;
    return count;
}

constexpr const char* hooks = R"({"open_document": "::python::hooks::open",
                                  "close_document": "::python::hooks::close", "id": "doc-7")";

// An analyzer whose engine knows one recording plugin, "python".
struct AnalyzerHooks : ::testing::Test {
    explicit AnalyzerHooks(const char* analyzer_options = "{}") : analyzer(analyzer_options) {
        analyzer.engine->plugins_by_name["python"] = plugin;
    }

    std::unique_ptr<Blackboard> document(const std::string& options) {
        return fixture::make_blackboard(analyzer, options.c_str());
    }
    // The open and close hooks the plugin saw, in order.
    std::vector<std::string> hooks_seen() const {
        std::vector<std::string> seen;
        for (const std::string& name : plugin->operations())
            if (name == "open_document" || name == "close_document")
                seen.push_back(name);
        return seen;
    }
    Analyzer& driver() { return *analyzer.handle.analyzer; }

    fixture::TestAnalyzer analyzer;
    boost::shared_ptr<RecordingPlugin> plugin = boost::make_shared<RecordingPlugin>();
};

const std::vector<std::string> open_and_close{"open_document", "close_document"};

// Every input ends with one close hook once the document is open, also the
// ways out that fail.
TEST_F(AnalyzerHooks, EveryInputOpensAndClosesOnce) {
    struct Case {
        const char* input_type;
        std::string text;
        std::size_t length;
        const char* failure; // the start of the error, or null
    };
    const std::string invalid_utf8 = "ok \xFF";
    const Case cases[] = {
        {"document", "", 0, nullptr},
        {"json", R"({"sentences": [[1, 0, 4, []]]})", 0, nullptr},
        {"xml", "text", 0, "Input type not supported: [text,json]"},
        {"text", invalid_utf8, 0, "Invalid utf8 character."},
        {"text", "abc", std::size_t(1) << 31, "Text too long: 2147483648 bytes"},
        {"json", "{", 0, "Invalid tlx/json format,"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.input_type) + " " + c.text);
        plugin->calls.clear();
        std::string options = std::string(hooks) + R"(, "input_type": ")" + c.input_type + "\"}";
        auto doc = document(options);
        const std::size_t length = c.length ? c.length : c.text.size();
        const std::string failure =
            failure_of([&] { EXPECT_TRUE(driver().generate(*doc, c.text.data(), length)); });
        if (c.failure)
            EXPECT_EQ(failure.rfind(c.failure, 0), 0u) << failure;
        else
            EXPECT_EQ(failure, "<no exception>");
        EXPECT_EQ(hooks_seen(), open_and_close);
        for (const fixture::PluginCall& call : plugin->calls_of("open_document")) {
            EXPECT_EQ(call.module, "hooks");
            EXPECT_EQ(call.function, "open");
            EXPECT_EQ(call.arguments, std::vector<std::string>{"doc-7"});
        }
        for (const fixture::PluginCall& call : plugin->calls_of("close_document")) {
            EXPECT_EQ(call.function, "close");
            EXPECT_EQ(call.arguments, std::vector<std::string>{"doc-7"});
        }
    }
}

// The document reads its own copy of the text, indexed by the offset table,
// however the splitting goes on from there; the caller's buffer may go away
// as soon as the call returns.
TEST_F(AnalyzerHooks, TextInputKeepsItsOwnIndexedCopy) {
    auto doc = document(std::string(hooks) + "}");
    std::string text = "Caf\xC3\xA9 open. Next one.";
    const std::string original = text;
    try {
        driver().generate(*doc, text.data(), text.size());
    } catch (const std::exception&) {
        // Splitting may not be available in this build; what comes before it is.
    }
    text.assign(text.size(), 'x');
    ASSERT_NE(doc->text, nullptr);
    EXPECT_NE(doc->text, text.data());
    EXPECT_EQ(std::string(doc->text, doc->text_length), original);
    ASSERT_TRUE(doc->offset_table);
    EXPECT_EQ(doc->offset_table->unicode_to_utf8.size(), original.size() + 1);
    EXPECT_EQ(doc->offset_table->unicode_to_utf8[4], 5u) << "after the two-byte character";
    EXPECT_EQ(hooks_seen(), open_and_close);
}

TEST_F(AnalyzerHooks, TheOpenAnswerFalseStopsTheAnalysis) {
    struct Case {
        std::optional<std::string> answer;
        bool analysed;
    };
    const Case cases[] = {{std::string("false"), false},
                          {std::string("true"), true},
                          {std::string(""), true},
                          {std::nullopt, true},
                          {std::string("False"), true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer ? *c.answer : "<null>");
        plugin->calls.clear();
        plugin->answers["open_document"] = c.answer;
        auto doc = document(std::string(hooks) + R"(, "input_type": "json"})");
        const std::string json = R"({"sentences": [[1, 0, 4, []]]})";
        EXPECT_EQ(driver().generate(*doc, json.data(), json.size()), c.analysed);
        EXPECT_EQ(sentence_count(*doc), c.analysed ? 1u : 0u);
        EXPECT_EQ(hooks_seen(),
                  c.analysed ? open_and_close : std::vector<std::string>{"open_document"});
    }
}

TEST_F(AnalyzerHooks, HookOptionsDecideWhatRuns) {
    struct Case {
        std::string options;
        std::vector<std::string> seen;
        std::vector<std::string> arguments;
    };
    const Case cases[] = {
        {R"({"open_document": "::python::hooks::open", "input_type": "document"})",
         {"open_document"},
         {"none"}},
        {R"({"close_document": "::python::hooks::close", "input_type": "document", "id": ""})",
         {"close_document"},
         {""}},
        {R"({"input_type": "document"})", {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options);
        plugin->calls.clear();
        auto doc = document(c.options);
        EXPECT_TRUE(driver().generate(*doc, "", 0));
        EXPECT_EQ(hooks_seen(), c.seen);
        for (const fixture::PluginCall& call : plugin->calls) {
            if (call.operation != "set_context") {
                EXPECT_EQ(call.arguments, c.arguments);
            }
        }
    }
}

struct AnalyzerWithoutPlugins : AnalyzerHooks {
    AnalyzerWithoutPlugins() : AnalyzerHooks(R"({"allow_plugins": "false"})") {}
};

TEST_F(AnalyzerWithoutPlugins, NoHookRuns) {
    auto doc = document(std::string(hooks) + R"(, "input_type": "json"})");
    const std::string json = R"({"sentences": []})";
    EXPECT_TRUE(driver().generate(*doc, json.data(), json.size()));
    EXPECT_TRUE(driver().generate(*doc));
    EXPECT_TRUE(plugin->calls.empty());
    EXPECT_TRUE(analyzer.engine->plugin_requests.empty());
}

TEST_F(AnalyzerHooks, WithoutLanguageModuleTextIsNotAnalysedButTheDocumentCloses) {
    fixture::TestAnalyzer bare("{}", nullptr);
    bare.engine->plugins_by_name["python"] = plugin;
    auto doc = fixture::make_blackboard(bare, (std::string(hooks) + "}").c_str());
    EXPECT_TRUE(bare.handle.analyzer->generate(*doc, "Some text.", 10));
    EXPECT_EQ(sentence_count(*doc), 0u);
    EXPECT_EQ(doc->text, nullptr);
    EXPECT_EQ(hooks_seen(), open_and_close);
}

TEST_F(AnalyzerHooks, HookFailures) {
    // A failing open hook leaves the document unopened: no close hook.
    plugin->errors["open_document"] = {1, "cannot open"};
    auto first = document(std::string(hooks) + R"(, "input_type": "document"})");
    EXPECT_THROW(driver().generate(*first, "", 0), qvr::common::Exception);
    EXPECT_EQ(hooks_seen(), std::vector<std::string>{"open_document"});

    // A failing close hook on the regular way out reaches the caller ...
    plugin->errors.clear();
    plugin->calls.clear();
    plugin->errors["close_document"] = {4, "cannot close"};
    auto second = document(std::string(hooks) + R"(, "input_type": "document"})");
    EXPECT_EQ(failure_of([&] { driver().generate(*second, "", 0); }), "cannot close");
    EXPECT_EQ(hooks_seen(), open_and_close);

    // ... while on a failing way out the first failure is the one reported.
    plugin->calls.clear();
    auto third = document(std::string(hooks) + R"(, "input_type": "xml"})");
    EXPECT_EQ(failure_of([&] { driver().generate(*third, "", 0); }),
              "Input type not supported: [text,json]");
    EXPECT_EQ(hooks_seen(), open_and_close);
}

TEST_F(AnalyzerHooks, ReRunningADocumentOpensAndClosesItOnce) {
    auto doc = document(std::string(hooks) + R"(, "input_type": "json"})");
    const std::string json = R"({"sentences": [[1, 0, 4, [[3, 0, 4, "Word", [], []]]]]})";
    ASSERT_TRUE(driver().generate(*doc, json.data(), json.size()));
    plugin->calls.clear();
    EXPECT_TRUE(driver().generate(*doc));
    EXPECT_EQ(hooks_seen(), open_and_close);
    EXPECT_EQ(sentence_count(*doc), 1u);

    plugin->answers["open_document"] = "false";
    plugin->calls.clear();
    EXPECT_FALSE(driver().generate(*doc));
    EXPECT_EQ(hooks_seen(), std::vector<std::string>{"open_document"});
}

TEST(Analyzer, JsonInputPrintsTheAnnotationsOnce) {
    struct Case {
        const char* analyzer_options;
        std::size_t prints;
    };
    for (const Case& c : {Case{R"({"dbg": "print_annotations"})", 1},
                          Case{R"({"dbg": "streams"})", 0}, Case{"{}", 0}}) {
        SCOPED_TRACE(c.analyzer_options);
        fixture::TestAnalyzer analyzer(c.analyzer_options);
        auto doc = fixture::make_blackboard(analyzer, R"({"input_type": "json"})");
        const std::string json = R"({"sentences": [[1, 0, 4, [[3, 0, 4, "Word", [], []]]]]})";
        ::testing::internal::CaptureStdout();
        analyzer.handle.analyzer->generate(*doc, json.data(), json.size());
        const std::string printed = ::testing::internal::GetCapturedStdout();
        std::size_t count = 0;
        for (std::size_t at = printed.find("Sentence:(0,4)"); at != std::string::npos;
             at = printed.find("Sentence:(0,4)", at + 1))
            ++count;
        EXPECT_EQ(count, c.prints) << printed;
    }
}

TEST(Analyzer, ReadsItsOptions) {
    struct Case {
        const char* options;
        std::set<std::string> dbg;
        bool allow_plugins;
        uint64_t flags;
        const char* resolve_date;
    };
    const Case cases[] = {
        {"{}", {}, true, 0, "::python::trelix.plugin::resolve_date"},
        {R"({"dbg": "print_annotations,streams"})",
         {"print_annotations", "streams"},
         true,
         0,
         "::python::trelix.plugin::resolve_date"},
        {R"({"dbg": "", "allow_plugins": "no", "unknown_things": "yes"})",
         {},
         false,
         1,
         "::python::trelix.plugin::resolve_date"},
        {R"({"allow_plugins": "on", "unknown_things": "0", "resolve_date_function": "::p::m::f"})",
         {},
         true,
         0,
         "::p::m::f"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options);
        fixture::TestAnalyzer analyzer(c.options);
        const Analyzer& a = *analyzer.handle.analyzer;
        EXPECT_EQ(a.dbg_options, c.dbg);
        EXPECT_EQ(a.allow_plugins, c.allow_plugins);
        EXPECT_EQ(a.flags, c.flags);
        EXPECT_EQ(a.resolve_date_function, c.resolve_date);
        EXPECT_EQ(a.set_document_date_function, "::python::trelix.plugin::set_document_date");
        EXPECT_EQ(a.resolve_formated_attribute_function,
                  "::python::trelix.plugin::resolve_formated_attribute");
    }

    fixture::TestAnalyzer analyzer(R"({"guesser": "false"})");
    const Analyzer& a = *analyzer.handle.analyzer;
    EXPECT_EQ(a.option("guesser"), "false");
    EXPECT_EQ(a.option(std::string("absent")), "");
    EXPECT_EQ(a.option("absent", "fallback"), "fallback");
    EXPECT_EQ(a.option("guesser", "fallback"), "false");

    analyzer.module->data->config_filename = "/data/english.language";
    EXPECT_EQ(a.filename(), "/data/english.language");
    EXPECT_EQ(Analyzer(nullptr, nullptr, nullptr).filename(), "");
}

TEST(Analyzer, SplitterAndLocaleComeFromTheDocumentThenTheLanguage) {
    struct Case {
        const char* document_options;
        const char* analyzer_options;
        const char* config; // null: no language module
        const char* sentyziser;
        const char* locale;
    };
    const Case cases[] = {
        {"{}", "{}", R"({"sentyziser": "icu", "tokenizer_locale": "de"})", "icu", "de"},
        {R"({"sentyziser": "3"})", "{}", R"({"sentyziser": "icu"})", "3", ""},
        {R"({"sentyziser": "icu"})", "{}", R"({"sentyziser": "3"})", "icu", ""},
        {"{}", R"({"sentyziser": "icu", "tokenizer_locale": "fr"})", R"({"sentyziser": "3"})",
         "icu", "fr"},
        {R"({"tokenizer_locale": "nl"})", "{}", "{}", "", "nl"},
        {"{}", "{}", nullptr, "3", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.document_options) + c.analyzer_options +
                     (c.config ? c.config : "<none>"));
        std::shared_ptr<LanguageModule> module;
        if (c.config) {
            module = fixture::make_language_module("english");
            module->data->config =
                std::make_shared<nlohmann::json>(nlohmann::json::parse(c.config));
        }
        fixture::TestAnalyzer analyzer(c.analyzer_options, module);
        auto doc = fixture::make_blackboard(analyzer, c.document_options);
        Analyzer& a = *analyzer.handle.analyzer;
        EXPECT_EQ(a.get_sentyziser_option(*doc), c.sentyziser);
        EXPECT_EQ(a.get_tokenizer_locale(*doc), c.locale);
    }

    auto module = fixture::make_language_module("english");
    module->data->config = std::make_shared<nlohmann::json>(nlohmann::json{{"sentyziser", 3}});
    fixture::TestAnalyzer analyzer("{}", module);
    auto doc = fixture::make_blackboard(analyzer);
    EXPECT_NE(failure_of([&] {
                  analyzer.handle.analyzer->get_sentyziser_option(*doc);
              }).find("type must be string, but is number"),
              std::string::npos);
}

TEST(Analyzer, GenerateNeedsSharedOwnership) {
    fixture::TestAnalyzer analyzer;
    auto doc = fixture::make_blackboard(analyzer, R"({"input_type": "document"})");
    Analyzer loose(analyzer.engine, analyzer.module, fixture::options("{}"));
    EXPECT_THROW(loose.generate(*doc, "", 0), std::bad_weak_ptr);
}

TEST(Analyzer, GuardsAttachAndKeepTheAnalyzer) {
    fixture::TestAnalyzer first;
    fixture::TestAnalyzer second;
    auto doc = fixture::make_blackboard(first);
    std::weak_ptr<Analyzer> watched = second.handle.analyzer;
    {
        SetAnalyzerGuard guard(second.handle.analyzer, doc.get());
        EXPECT_EQ(doc->analyzer, second.handle.analyzer);
        EXPECT_EQ(doc->engine(), second.engine.get());
        EXPECT_EQ(doc->language_module, second.module);
        second.handle.analyzer.reset();
        doc->release_analyzer();
        EXPECT_FALSE(watched.expired());
    }
    EXPECT_TRUE(watched.expired());
}

TEST(Analyzer, WarmUpCallsThePythonPlugin) {
    fixture::TestEngine engine;
    auto plugin = boost::make_shared<RecordingPlugin>();
    warm_up_plugin(&engine);
    EXPECT_EQ(engine.plugin_requests, std::vector<std::string>{"python"});

    engine.plugins_by_name["python"] = plugin;
    plugin->answers["call"] = "ignored";
    warm_up_plugin(&engine);
    const std::vector<fixture::PluginCall> calls = plugin->calls_of("call");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].module, "trelix.plugin");
    EXPECT_EQ(calls[0].function, "warmup");
    EXPECT_TRUE(calls[0].arguments.empty());
    EXPECT_EQ(plugin->outstanding(), 0u);
}

} // namespace
} // namespace dez::trelix

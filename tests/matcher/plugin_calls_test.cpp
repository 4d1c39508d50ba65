#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include <boost/make_shared.hpp>

#include "foundation/logger.h"
#include "foundation/qvr_exception.h"
#include "matcher/plugin_calls.h"
#include "matcher/plugin_collection.h"
#include "matcher/runtime_context.h"
#include "tests/document/blackboard_fixture.h"
#include "tests/document/log_capture.h"
#include "tests/matcher/recording_plugin.h"

namespace dez::trelix {
namespace {

using fixture::PluginCall;
using fixture::RecordingPlugin;
using Call = std::function<std::string(const EngineInterface*, const std::string&,
                                       const std::vector<plugins::DataObject>&)>;

// The three callers by the plugin operation each one reaches.
struct Caller {
    const char* operation;
    Call call;
};

const std::vector<Caller>& callers() {
    static const std::vector<Caller> all{
        {"open_document",
         [](const EngineInterface* e, const std::string& uri,
            const std::vector<plugins::DataObject>& a) {
             return plugins::open_document(e, uri, a);
         }},
        {"close_document",
         [](const EngineInterface* e, const std::string& uri,
            const std::vector<plugins::DataObject>& a) {
             return plugins::close_document(e, uri, a);
         }},
        {"call",
         [](const EngineInterface* e, const std::string& uri,
            const std::vector<plugins::DataObject>& a) { return plugins::call(e, uri, a); }},
    };
    return all;
}

bool logged(unsigned short level, const std::string& text) {
    for (const auto& line : fixture::runtime_log())
        if (line.first == level && line.second == text)
            return true;
    return false;
}

struct PluginCalls : ::testing::Test {
    void SetUp() override {
        fixture::runtime_log().clear();
        engine.plugins_by_name["python"] = plugin;
        plugins::set_match_context(runtime::Context());
    }

    fixture::TestEngine engine;
    boost::shared_ptr<RecordingPlugin> plugin = boost::make_shared<RecordingPlugin>();
};

TEST_F(PluginCalls, UrisSplitIntoPluginModuleAndFunction) {
    struct Case {
        const char* uri;
        bool accepted;
        const char* module;
        const char* function;
    };
    const Case cases[] = {
        {"::python::trelix.plugin::resolve_date", true, "trelix.plugin", "resolve_date"},
        {"python:trelix.plugin:resolve_date", true, "trelix.plugin", "resolve_date"},
        {"::python::trelix.plugin", false, "", ""},
        {"::python::m::f::g", false, "", ""},
        {"", false, "", ""},
    };
    for (const Caller& caller : callers())
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(caller.operation) + " " + c.uri);
            plugin->calls.clear();
            engine.plugin_requests.clear();
            fixture::runtime_log().clear();
            plugin->answers[caller.operation] = "answer";
            EXPECT_EQ(caller.call(&engine, c.uri, {}), c.accepted ? "answer" : "");
            const std::vector<PluginCall> made = plugin->calls_of(caller.operation);
            if (c.accepted) {
                ASSERT_EQ(made.size(), 1u);
                EXPECT_EQ(made[0].module, c.module);
                EXPECT_EQ(made[0].function, c.function);
                EXPECT_EQ(engine.plugin_requests, std::vector<std::string>{"python"});
            } else {
                EXPECT_TRUE(made.empty());
                EXPECT_TRUE(engine.plugin_requests.empty()) << "no plugin is looked up";
                EXPECT_TRUE(logged(dez::wlog::level_error,
                                   std::string("[PLUGIN]:Uri name does not match the plugin "
                                               "format call ::(.+)::(.+)::(.+) '") +
                                       c.uri + "'"));
            }
        }
}

TEST_F(PluginCalls, ArgumentsReachThePluginAndTextsGoBackOnce) {
    const std::vector<plugins::DataObject> arguments{{1, "doc-1"}, {1, "second"}};
    for (const Caller& caller : callers()) {
        SCOPED_TRACE(caller.operation);
        plugin->calls.clear();
        plugin->freed.clear();
        plugin->answers[caller.operation] = "text";
        EXPECT_EQ(caller.call(&engine, "::python::m::f", arguments), "text");
        const std::vector<PluginCall> made = plugin->calls_of(caller.operation);
        ASSERT_EQ(made.size(), 1u);
        EXPECT_EQ(made[0].arguments, (std::vector<std::string>{"doc-1", "second"}));
        EXPECT_EQ(plugin->freed, std::vector<std::string>{"text"});
        EXPECT_EQ(plugin->outstanding(), 0u);

        // A null answer is the empty text and is not handed back.
        plugin->freed.clear();
        plugin->answers[caller.operation] = std::nullopt;
        EXPECT_EQ(caller.call(&engine, "::python::m::f", arguments), "");
        EXPECT_TRUE(plugin->freed.empty());
    }
}

TEST_F(PluginCalls, ErrorCodesBecomeExceptionsAfterTheTextWentBack) {
    struct Case {
        int32_t code;
        const char* expected; // exception kind, or "text" when the text comes back
    };
    const Case cases[] = {{0, "text"},          {1, "qvr::common::Exception"},
                          {2, "runtime_error"}, {3, "runtime_error"},
                          {4, "logic_error"},   {5, "qvr::common::JsonException"},
                          {7, "text"},          {-1, "text"}};
    for (const Caller& caller : callers())
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(caller.operation) + " code " + std::to_string(c.code));
            plugin->freed.clear();
            plugin->answers[caller.operation] = "text";
            plugin->errors[caller.operation] = {c.code, "plugin says no"};
            std::string kind = "text";
            std::string message;
            try {
                EXPECT_EQ(caller.call(&engine, "::python::m::f", {}), "text");
            } catch (const qvr::common::JsonException& e) {
                kind = "qvr::common::JsonException";
                message = e.what();
            } catch (const qvr::common::Exception& e) {
                kind = "qvr::common::Exception";
                message = e.what();
            } catch (const std::logic_error& e) {
                kind = "logic_error";
                message = e.what();
            } catch (const std::runtime_error& e) {
                kind = "runtime_error";
                message = e.what();
            }
            EXPECT_EQ(kind, c.expected);
            if (kind != "text") {
                EXPECT_EQ(message, "plugin says no");
            }
            EXPECT_EQ(plugin->freed, std::vector<std::string>{"text"});
        }
}

TEST_F(PluginCalls, AnUnterminatedMessageIsReadWithinTheRecord) {
    plugin->errors["call"] = {1, std::string(2000, 'x')};
    try {
        plugins::call(&engine, "::python::m::f");
        FAIL() << "no exception";
    } catch (const qvr::common::Exception& e) {
        EXPECT_EQ(std::string(e.what()), std::string(1024, 'x'));
    }
}

TEST_F(PluginCalls, MissingPluginsGiveTheEmptyText) {
    engine.plugins_by_name.clear();
    for (const Caller& caller : callers()) {
        SCOPED_TRACE(caller.operation);
        fixture::runtime_log().clear();
        EXPECT_EQ(caller.call(&engine, "::python::m::f", {}), "");
        const bool document_level = std::string(caller.operation) != "call";
        // Only the document-level calls report an empty handle.
        EXPECT_EQ(logged(dez::wlog::level_error,
                         "Error cannot find plugin:python from annotation ::python::m::f"),
                  document_level);
        EXPECT_EQ(caller.call(nullptr, "::python::m::f", {}), "");
    }

    // An engine that tried the plugin but holds no entry for it.
    engine.unloadable_plugins.insert("python");
    for (const Caller& caller : callers()) {
        SCOPED_TRACE(caller.operation);
        fixture::runtime_log().clear();
        EXPECT_EQ(caller.call(&engine, "::python::m::f", {}), "");
        EXPECT_TRUE(logged(dez::wlog::level_info,
                           "Either plugin not loaded or uri name does not start with :: from "
                           "annotation '::python::m::f'"));
        EXPECT_EQ(logged(dez::wlog::level_error, "Error cannot find plugin:python"),
                  std::string(caller.operation) == "call");
    }
}

TEST_F(PluginCalls, DocumentHooksHandOverTheMatchContextAndCallsDoNot) {
    fixture::TestAnalyzer analyzer;
    auto document = fixture::make_blackboard(analyzer);
    Concept concept_(0, 3, "Person");
    Concept group(0, 5, "Group");
    runtime::Context context;
    context.document = document.get();
    context.concept = &concept_;
    context.capture_group = &group;
    plugins::set_match_context(context);

    plugins::open_document(&engine, "::python::m::open", {});
    plugins::close_document(&engine, "::python::m::close", {});
    plugins::call(&engine, "::python::m::f");
    EXPECT_EQ(plugin->operations(),
              (std::vector<std::string>{"set_context", "open_document", "set_context",
                                        "close_document", "call"}));
    ASSERT_EQ(plugin->contexts.size(), 2u);
    EXPECT_EQ(plugin->contexts[0].document, document.get());
    EXPECT_EQ(plugin->contexts[0].concept, &concept_);
    EXPECT_EQ(plugin->contexts[0].capture_group, &group);
    plugins::set_match_context(runtime::Context());

    // An empty match context hands over null pointers.
    plugin->contexts.clear();
    plugins::open_document(&engine, "::python::m::open", {});
    ASSERT_EQ(plugin->contexts.size(), 1u);
    EXPECT_EQ(plugin->contexts[0].document, nullptr);
    EXPECT_EQ(plugin->contexts[0].concept, nullptr);
}

TEST_F(PluginCalls, TriggerReachesThePluginOfTheDocumentsEngine) {
    struct Case {
        const char* analyzer_options;
        const char* uri;
        const char* expected;
        std::vector<std::string> operations;
    };
    const Case cases[] = {
        {"{}", "::python::m::resolve", "triggered", {"set_context", "trigger"}},
        {"{}", "::python::m", "", {}},
        {"{}", "::other::m::resolve", "", {}},
        {R"({"allow_plugins": "false"})", "::python::m::resolve", "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.analyzer_options) + " " + c.uri);
        fixture::TestAnalyzer analyzer(c.analyzer_options);
        auto recording = boost::make_shared<RecordingPlugin>();
        recording->answers["trigger"] = "triggered";
        analyzer.engine->plugins_by_name["python"] = recording;
        auto document = fixture::make_blackboard(analyzer);
        document->set_analyzer(analyzer.handle.analyzer);
        const std::vector<plugins::DataObject> arguments{{1, "argument"}};
        EXPECT_EQ(plugins::trigger(*document, c.uri, arguments), c.expected);
        EXPECT_EQ(recording->operations(), c.operations);
        if (!c.operations.empty()) {
            EXPECT_EQ(recording->calls_of("trigger")[0].function, "resolve");
            EXPECT_EQ(recording->calls_of("trigger")[0].arguments,
                      std::vector<std::string>{"argument"});
            EXPECT_EQ(recording->outstanding(), 0u);
        }
        if (std::string(c.analyzer_options) != "{}") {
            EXPECT_TRUE(analyzer.engine->plugin_requests.empty()) << "no plugin is looked up";
        }
    }

    // A failure the plugin reports reaches the caller.
    fixture::TestAnalyzer analyzer;
    analyzer.engine->plugins_by_name["python"] = plugin;
    auto document = fixture::make_blackboard(analyzer);
    document->set_analyzer(analyzer.handle.analyzer);
    plugin->errors["trigger"] = {4, "bad trigger"};
    EXPECT_THROW(plugins::trigger(*document, "::python::m::f", {}), std::logic_error);
}

// A collection of four names over three objects: "b" is an alias of "a".
struct ReleaseDocument : PluginCalls {
    void SetUp() override {
        PluginCalls::SetUp();
        engine.collection = std::make_shared<plugins::PluginCollection>();
        (*engine.collection)["a"] = first;
        (*engine.collection)["b"] = first;
        (*engine.collection)["c"] = second;
        (*engine.collection)["python"] = plugin;
    }
    std::size_t released(const RecordingPlugin& p) const {
        return p.calls_of("release_document").size();
    }

    boost::shared_ptr<RecordingPlugin> first = boost::make_shared<RecordingPlugin>();
    boost::shared_ptr<RecordingPlugin> second = boost::make_shared<RecordingPlugin>();
};

TEST_F(ReleaseDocument, EveryObjectOnceButPython) {
    plugins::release_document(&engine);
    EXPECT_EQ(released(*first), 1u);
    EXPECT_EQ(released(*second), 1u);
    EXPECT_EQ(released(*plugin), 0u);

    // Nothing to tell without an engine or a collection.
    plugins::release_document(static_cast<const EngineInterface*>(nullptr));
    engine.collection.reset();
    plugins::release_document(&engine);
    EXPECT_EQ(released(*first), 1u);
}

TEST_F(ReleaseDocument, TheFirstFailureEndsTheWalk) {
    first->errors["release_document"] = {1, "cannot release"};
    try {
        plugins::release_document(&engine);
        FAIL() << "no exception";
    } catch (const qvr::common::Exception& e) {
        EXPECT_EQ(std::string(e.what()), "cannot release");
    }
    EXPECT_EQ(released(*first), 1u);
    EXPECT_EQ(released(*second), 0u) << "\"c\" comes after the failing \"a\"";
}

TEST_F(ReleaseDocument, ADocumentTellsTheCollectionOfItsEngine) {
    fixture::TestAnalyzer analyzer;
    analyzer.engine->collection = engine.collection;
    auto document = fixture::make_blackboard(analyzer);
    // Without an engine (before set_analyzer) nothing is told.
    plugins::release_document(*document);
    EXPECT_EQ(released(*first), 0u);

    document->set_analyzer(analyzer.handle.analyzer);
    plugins::release_document(*document);
    EXPECT_EQ(released(*first), 1u);
    EXPECT_EQ(released(*second), 1u);
    EXPECT_EQ(released(*plugin), 0u);

    // The document's destructor tells them again and keeps a failure to itself.
    second->errors["release_document"] = {2, "gone"};
    EXPECT_NO_THROW(document.reset());
    EXPECT_EQ(released(*first), 2u);
    EXPECT_EQ(released(*second), 2u);
}

TEST(PluginCollection, AThrowingShutdownIsLoggedAndTheOthersStillShutDown) {
    fixture::runtime_log().clear();
    auto throwing = boost::make_shared<RecordingPlugin>();
    throwing->shutdown_throws = true;
    auto failing = boost::make_shared<RecordingPlugin>();
    failing->errors["shutdown"] = {1, "refused"};
    auto quiet = boost::make_shared<RecordingPlugin>();
    {
        plugins::PluginCollection collection;
        collection["a"] = throwing;
        collection["b"] = failing;
        collection["c"] = quiet;
        collection["d"] = quiet;
    }
    EXPECT_EQ(throwing->operations(), std::vector<std::string>{"shutdown"});
    EXPECT_EQ(failing->operations(), std::vector<std::string>{"shutdown"});
    EXPECT_EQ(quiet->operations(), std::vector<std::string>{"shutdown"});
    EXPECT_TRUE(logged(dez::wlog::level_error, "[PLUGIN]:shutdown of a failed:shutdown threw"));
    EXPECT_TRUE(logged(dez::wlog::level_error, "[PLUGIN]:shutdown of b failed:refused"));
}

} // namespace
} // namespace dez::trelix

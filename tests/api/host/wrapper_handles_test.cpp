#include <gtest/gtest.h>

#include <cstring>
#include <exception>
#include <map>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "api/sdk/analyzer.h"
#include "api/sdk/callable_interface.h"
#include "api/sdk/engine.h"
#include "api/sdk/handle_exception.h"
#include "api/sdk/object.h"
#include "api/sdk/options_to_string.h"
#include "api/sdk/qvr_exception.h"
#include "host_fixture.h"

namespace {

using host_fixture::Options;
using host_fixture::raised;
using host_fixture::references;
using host_fixture::Watch;

dez_exception record(int32_t code, const char* message) {
    dez_exception error;
    error.code = code;
    std::memset(error.message, 0, sizeof error.message);
    std::strncpy(error.message, message, sizeof error.message - 1);
    return error;
}

TEST(HandleException, RaisesByCode) {
    struct Case {
        int32_t code;
        const char* kind;
    };
    const Case cases[] = {
        {1, "Exception"},     {2, "runtime_error"}, {3, "runtime_error"}, {4, "logic_error"},
        {5, "JsonException"}, {0, ""},              {7, ""},              {-1, ""},
    };
    for (const Case& c : cases) {
        const dez_exception error = record(c.code, "{\"message\":\"went wrong\"}");
        const auto [kind, message] = raised([&] { qvr::common::handle_exception(error); });
        EXPECT_EQ(kind, c.kind) << "code " << c.code;
        if (*c.kind) {
            EXPECT_EQ(message, "{\"message\":\"went wrong\"}") << "code " << c.code;
        }
    }
}

TEST(OptionsToString, PrintsCompactJsonInKeyOrder) {
    struct Case {
        Options options;
        const char* text;
    };
    const Case cases[] = {
        {{}, "{}"},
        {{{"language", "en"}, {"id", "doc-1"}}, R"({"id":"doc-1","language":"en"})"},
        {{{"say \"hi\"", "a\\b"}, {"lines", "1\n2\t3"}},
         R"({"lines":"1\n2\t3","say \"hi\"":"a\\b"})"},
        {{{"control", std::string("\x01", 1)}}, R"({"control":"\u0001"})"},
        {{{"city", "Z\xC3\xBCrich"}}, "{\"city\":\"Z\xC3\xBCrich\"}"},
        {{{"empty", ""}}, R"({"empty":""})"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(qvr::common::options_to_string(c.options), c.text);
}

TEST(OptionsToString, RefusesTextThatIsNotUtf8) {
    for (const Options& options : {Options{{"key", "\xC3"}}, Options{{"\xFF", "value"}}})
        EXPECT_THROW(qvr::common::options_to_string(options), std::exception);
}

// Copies, moves and assignments keep every handle's count equal to the
// objects holding it; ASan reports any handle released once too often.
class WrapperReferences : public ::testing::Test {
protected:
    qvr::engine::Engine engine{host_fixture::engine_options()};
};

TEST_F(WrapperReferences, CopiesAddAndDestructionRemovesOneEach) {
    Watch watch(engine.handle());
    EXPECT_EQ(watch.others(), 1);
    {
        qvr::engine::Engine copy(engine);
        qvr::engine::Engine another = copy;
        EXPECT_EQ(another.handle(), engine.handle());
        EXPECT_EQ(watch.others(), 3);
        qvr::engine::Engine moved(std::move(copy));
        EXPECT_EQ(copy.handle(), nullptr);
        EXPECT_EQ(watch.others(), 3);
    }
    EXPECT_EQ(watch.others(), 1);
}

TEST_F(WrapperReferences, AssignmentTakesTheNewReferenceAndReleasesTheOld) {
    // Each case assigns to `target` (made on the first engine) from `source`
    // (made on a second one). Counts: the target's own analyzer handle, the
    // source's analyzer handle, the first and the second engine.
    struct Case {
        const char* name;
        void (*assign)(qvr::analyzer::Analyzer& target, qvr::analyzer::Analyzer& source);
        int32_t target_handle, source_handle, first_engine, second_engine;
    };
    const Case cases[] = {
        {"copy", [](auto& t, auto& s) { t = s; }, 0, 2, 1, 3},
        {"self", [](auto& t, auto&) { t = t; }, 1, 1, 2, 2},
        {"move", [](auto& t, auto& s) { t = std::move(s); }, 0, 1, 1, 2},
        {"from a moved-from object",
         [](auto& t, auto& s) {
             qvr::analyzer::Analyzer taken(std::move(s));
             t = s;
         },
         0, 0, 1, 1},
        {"copy back and forth",
         [](auto& t, auto& s) {
             qvr::analyzer::Analyzer saved(t);
             t = s;
             t = saved;
         },
         1, 1, 2, 2},
    };
    qvr::engine::Engine second(host_fixture::engine_options());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Watch first_engine(engine.handle());
        Watch second_engine(second.handle());
        qvr::analyzer::Analyzer target(engine, host_fixture::analyzer_options);
        qvr::analyzer::Analyzer source(second, host_fixture::analyzer_options);
        Watch target_handle(target.handle());
        Watch source_handle(source.handle());
        c.assign(target, source);
        EXPECT_EQ(target_handle.others(), c.target_handle);
        EXPECT_EQ(source_handle.others(), c.source_handle);
        EXPECT_EQ(first_engine.others(), c.first_engine);
        EXPECT_EQ(second_engine.others(), c.second_engine);
    }
    EXPECT_EQ(references(engine.handle()), 1);
    EXPECT_EQ(references(second.handle()), 1);
}

TEST_F(WrapperReferences, AssignedObjectsOfEveryKindReleaseTheirHandleOnce) {
    qvr::engine::Engine second(host_fixture::engine_options());
    Watch first_engine(engine.handle());
    Watch second_engine(second.handle());
    {
        qvr::common::Object plain;
        plain = engine;
        plain = qvr::common::Object(second);
        qvr::engine::Engine engines = engine;
        engines = second;
        EXPECT_EQ(engines.engine_options(), second.engine_options());
        EXPECT_EQ(first_engine.others(), 1);
        EXPECT_EQ(second_engine.others(), 3);
    }
    EXPECT_EQ(first_engine.others(), 1);
    EXPECT_EQ(second_engine.others(), 1);
}

TEST_F(WrapperReferences, AnalyzerKeepsItsEngineAlive) {
    dez_object* engine_handle = engine.handle();
    Watch watch(engine_handle);
    {
        qvr::analyzer::Analyzer analyzer(engine, host_fixture::analyzer_options);
        engine = qvr::engine::Engine(host_fixture::engine_options());
        EXPECT_EQ(watch.others(), 1);
        EXPECT_EQ(analyzer.engine_object().handle(), engine_handle);
        EXPECT_EQ(analyzer.options(), host_fixture::analyzer_options);
    }
    EXPECT_EQ(watch.others(), 0);
}

TEST_F(WrapperReferences, CopiesOnSeveralThreadsStayBalanced) {
    Watch watch(engine.handle());
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([this] {
            std::vector<qvr::engine::Engine> copies;
            for (int i = 0; i < 200; ++i)
                copies.push_back(engine);
            qvr::engine::Engine assigned = copies.front();
            for (const qvr::engine::Engine& copy : copies)
                assigned = copy;
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(watch.others(), 1);
}

TEST(WrapperCreation, FailuresRaiseTheRecordsException) {
    struct Case {
        const char* name;
        void (*create)();
        const char* kind;
        std::string message;
    };
    const Case cases[] = {
        {"analyzer of an engine object left without a handle",
         [] {
             qvr::engine::Engine engine(host_fixture::engine_options());
             qvr::engine::Engine taken(std::move(engine));
             qvr::analyzer::Analyzer analyzer(engine, host_fixture::analyzer_options);
         },
         "Exception", "Engine has not been initialized."},
        {"analyzer of an unknown language",
         [] {
             qvr::engine::Engine engine(host_fixture::engine_options());
             qvr::analyzer::Analyzer analyzer(engine, {{"language", "no-such-language"}});
         },
         "Exception", "language config file missing for [no-such-language] :no-such-language"},
        {"engine of a root path that does not exist",
         [] { qvr::engine::Engine engine(Options{{"root_path", "/no/such/folder"}}); },
         "Exception", "qvr root path option is not valid path [/no/such/folder]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto [kind, message] = raised(c.create);
        EXPECT_EQ(kind, c.kind) << message;
        EXPECT_EQ(message, c.message);
    }
}

// A handle the library refuses: its kind tag is none of the library's.
struct RefusedHandle {
    dez_object object{0x7fff1234, 1};
};

TEST(WrapperObject, ReleaseFailuresReachStandardErrorNotTheCaller) {
    RefusedHandle refused;
    testing::internal::CaptureStderr();
    { qvr::common::Object object(&refused.object); }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Invalid handle.\n");
}

TEST(WrapperObject, CopyFailuresRaise) {
    RefusedHandle refused;
    testing::internal::CaptureStderr();
    {
        qvr::common::Object object(&refused.object);
        const auto [kind, message] = raised([&] { qvr::common::Object copy(object); });
        EXPECT_EQ(kind, "Exception");
        EXPECT_EQ(message, "Invalid handle.");
    }
    testing::internal::GetCapturedStderr();
}

// A callable that overrides only the call with a result, as a domain does.
class ResultsOnly : public qvr::common::CallableInterface {
public:
    using qvr::common::CallableInterface::operator();
    qvr::analyzer::Results operator()(qvr::analyzer::Results results) override { return results; }
};

TEST(CallableInterface, TextCallDefaultsToAnEmptyResult) {
    ResultsOnly callable;
    qvr::analyzer::Results results;
    EXPECT_NO_THROW(results = callable("Hi Paris.", {{"language", "fixture"}}));
    EXPECT_EQ(results.handle(), nullptr);
    EXPECT_EQ(results.analyzer_handle().handle(), nullptr);
}

} // namespace

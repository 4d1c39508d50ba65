#include <gtest/gtest.h>

#include <exception>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>

#include "api/sdk/analyzer.h"
#include "api/sdk/annotation_printer.h"
#include "api/sdk/domain.h"
#include "api/sdk/engine.h"
#include "api/sdk/results.h"
#include "api/sdk/token.h"
#include "host_fixture.h"

namespace {

using host_fixture::Options;
using host_fixture::raised;
using host_fixture::Watch;

class WrapperAnalysis : public ::testing::Test {
protected:
    qvr::engine::Engine engine{host_fixture::engine_options()};
    qvr::analyzer::Analyzer analyzer{engine, host_fixture::analyzer_options};
};

std::string printed(const qvr::analyzer::Results& results, bool offsets) {
    std::ostringstream out;
    {
        qvr::common::AnnotationPrinter printer(out, offsets);
        for (const qvr::common::Annotation* sentence : *results.parse_results(true))
            printer.visit(sentence);
    }
    return out.str();
}

// A host with nothing but the wrapper headers and the shared library.
TEST_F(WrapperAnalysis, AnalysesReadsAndPrintsADocument) {
    const qvr::analyzer::Results results = analyzer("Hi Paris.", {});
    EXPECT_EQ(printed(results, true), "s(0,9)\n"
                                      "    t(0,2) \"Hi\" (init-cap, nf)\n"
                                      "    t(3,8) \"Paris\" (init-cap, nf)\n"
                                      "    t(8,9) \".\" \n");
    EXPECT_EQ(printed(results, false), "s(0,9)\n"
                                       "    \"Hi\" (init-cap, nf)\n"
                                       "    \"Paris\" (init-cap, nf)\n"
                                       "    \".\" \n");
    EXPECT_EQ(results.parsed_language(), "fixture");
}

TEST_F(WrapperAnalysis, ResultKeepsItsAnalyzerAndEngineAlive) {
    Watch analyzer_handle(analyzer.handle());
    Watch engine_handle(engine.handle());
    {
        qvr::analyzer::Results results = analyzer("Hi Paris.", {});
        EXPECT_EQ(analyzer_handle.others(), 2);
        // The analyzer's engine copy, the fixture's engine and the result.
        EXPECT_EQ(engine_handle.others(), 3);
        analyzer = qvr::analyzer::Analyzer(engine, host_fixture::analyzer_options);
        engine = qvr::engine::Engine(host_fixture::engine_options());
        EXPECT_EQ(analyzer_handle.others(), 1);
        EXPECT_EQ(engine_handle.others(), 2);
        EXPECT_FALSE(results.parse_results(true)->empty());
        // A result analysed again through the new analyzer.
        qvr::analyzer::Results again = analyzer(results);
        EXPECT_EQ(again.handle(), results.handle());
    }
    EXPECT_EQ(analyzer_handle.others(), 0);
    EXPECT_EQ(engine_handle.others(), 1);
}

TEST_F(WrapperAnalysis, AssignedResultsReleaseWhatTheyHeldOnce) {
    qvr::engine::Engine second_engine(host_fixture::engine_options());
    qvr::analyzer::Analyzer second(second_engine, host_fixture::analyzer_options);
    qvr::analyzer::Results target = analyzer("Hi Paris.", {});
    qvr::analyzer::Results source = second("Bye.", {});
    target.parse_results(true);
    Watch target_handle(target.handle());
    Watch source_handle(source.handle());
    Watch first_analyzer(analyzer.handle());
    Watch second_analyzer(second.handle());
    {
        target = source;
        EXPECT_EQ(target_handle.others(), 0);
        EXPECT_EQ(source_handle.others(), 2);
        EXPECT_EQ(first_analyzer.others(), 1);
        EXPECT_EQ(second_analyzer.others(), 3);
        // The sentences read before belonged to the other document.
        EXPECT_EQ(target.parse_results(true)->head->end, 4u);
        target = std::move(source);
        EXPECT_EQ(source.handle(), nullptr);
        EXPECT_EQ(source_handle.others(), 1);
        target = qvr::analyzer::Results();
    }
    EXPECT_EQ(source_handle.others(), 0);
    EXPECT_EQ(second_analyzer.others(), 1);
    EXPECT_EQ(first_analyzer.others(), 1);
}

TEST_F(WrapperAnalysis, FailedAnalysisKeepsNoReference) {
    struct Case {
        const char* name;
        std::string text;
        Options options;
        const char* kind;
        const char* message;
    };
    const Case cases[] = {
        {"unknown input type", "Hi Paris.", {{"input_type", "bogus"}}, "Exception",
         "Input type not supported: [text,json]"},
        {"text that is not UTF-8", "Hi \xFF Paris.", {}, "Exception", "Invalid utf8 character."},
        // A runtime error of the library is no qvr::common::Exception.
        {"JSON input that is not JSON", "Hi", {{"input_type", "json"}}, "runtime_error",
         "Invalid tlx/json format,[json.exception.parse_error.101] parse error at line 1, "
         "column 1: syntax error while parsing value - invalid literal; last read: 'H'"},
    };
    Watch analyzer_handle(analyzer.handle());
    Watch engine_handle(engine.handle());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto [kind, message] = raised([&] { analyzer(c.text, c.options); });
        EXPECT_EQ(kind, c.kind);
        EXPECT_EQ(message, c.message);
        EXPECT_EQ(analyzer_handle.others(), 1);
        EXPECT_EQ(engine_handle.others(), 2);
    }
}

TEST_F(WrapperAnalysis, ParsesOnceUnlessAskedToReadAgain) {
    const qvr::analyzer::Results results = analyzer("Hi Paris. Bye.", {});
    auto* first = results.parse_results(true);
    EXPECT_EQ(results.parse_results(true), first);
    auto* again = results.parse_results(false);
    EXPECT_NE(again, first);
    EXPECT_EQ(results.parse_results(true), again);
    EXPECT_EQ(printed(results, false), "s(0,9)\n"
                                       "    \"Hi\" (init-cap, nf)\n"
                                       "    \"Paris\" (init-cap, nf)\n"
                                       "    \".\" \n"
                                       "s(10,14)\n"
                                       "    \"Bye\" (init-cap, nf)\n"
                                       "    \".\" \n");
}

TEST_F(WrapperAnalysis, CopiesShareTheParsedSentences) {
    qvr::analyzer::Results results = analyzer("Hi Paris.", {});
    auto* parsed = results.parse_results(true);
    qvr::analyzer::Results copy = results;
    EXPECT_EQ(copy.parse_results(true), parsed);
    results = qvr::analyzer::Results();
    // The copy still owns them.
    EXPECT_EQ(copy.parse_results(true), parsed);
    EXPECT_FALSE(parsed->empty());
}

TEST_F(WrapperAnalysis, AnalyzerCalledWithAResultKeepsItsParsedSentences) {
    qvr::analyzer::Results results = analyzer("Hi Paris.", {});
    auto* parsed = results.parse_results(true);
    Watch result_handle(results.handle());
    Watch analyzer_handle(analyzer.handle());
    Watch engine_handle(engine.handle());
    {
        qvr::analyzer::Results again = analyzer(results);
        EXPECT_EQ(again.handle(), results.handle());
        EXPECT_EQ(again.analyzer_handle().handle(), results.analyzer_handle().handle());
        EXPECT_EQ(again.engine_handle().handle(), results.engine_handle().handle());
        // One added reference each for the new object.
        EXPECT_EQ(result_handle.others(), 2);
        EXPECT_EQ(analyzer_handle.others(), 3);
        EXPECT_EQ(engine_handle.others(), 4);
        EXPECT_EQ(results.parse_results(true), parsed);
        // The new object has none until it reads the JSON itself.
        EXPECT_NE(again.parse_results(true), parsed);
        EXPECT_EQ(printed(again, true), printed(results, true));
    }
    EXPECT_EQ(result_handle.others(), 1);
    EXPECT_EQ(analyzer_handle.others(), 2);
    EXPECT_EQ(engine_handle.others(), 3);
}

TEST_F(WrapperAnalysis, AnalyzerCalledWithAnEmptyResultRaises) {
    const auto [kind, message] = raised([&] { analyzer(qvr::analyzer::Results()); });
    EXPECT_EQ(kind, "Exception");
    EXPECT_EQ(message, "Result Object has not been initialized.");
}

// Without a handle there is no JSON to read; a failed read leaves nothing
// that a later call would hand out as if it had been read.
TEST(WrapperResults, EmptyResultFailsEveryParse) {
    const qvr::analyzer::Results results;
    for (bool reuse : {true, true, false}) {
        try {
            results.parse_results(reuse);
            ADD_FAILURE() << "no exception";
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(std::string(e.what()).rfind("Invalid tlx/json format,", 0), 0u) << e.what();
        }
    }
}

} // namespace

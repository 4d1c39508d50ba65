#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include <nlohmann/json.hpp>

#include "api/sdk/display_return_message.h"
#include "tests/api/sdk_fixture.h"

namespace qvr::compiler {
namespace {

using qvr::common::fixture::read_data;

TEST(DisplayReturnMessage, RendersTheReportOfABuild) {
    const std::string report = read_data("compile_report.json");
    const std::string marker_indent(9 + 10, ' ');
    struct Case {
        bool show_markers;
        std::string lines;
    };
    const Case cases[] = {
        {true, "main.tlx:cannot open 'geo.tlx'\n"
               "rules.tlx:3:7:\"error\" unknown concept 'Cty'\n" +
                   marker_indent + "    ^^^\n" + "rules.tlx:9:1:\"warning\" unused define 'x'\n"},
        {false, "main.tlx:cannot open 'geo.tlx'\n"
                "rules.tlx:3:7:\"error\" unknown concept 'Cty'\n"
                "rules.tlx:    ^^^\n"
                "rules.tlx:9:1:\"warning\" unused define 'x'\n"},
    };
    for (const Case& c : cases) {
        std::ostringstream out;
        EXPECT_EQ(display_return_message(report.c_str(), out, c.show_markers), -1);
        EXPECT_EQ(out.str(), c.lines) << c.show_markers;
    }
}

TEST(DisplayReturnMessage, OutcomeAndOutputByReport) {
    struct Case {
        const char* report;
        int result;
        const char* lines;
    };
    const Case cases[] = {
        {nullptr, -1, ""},
        {R"({"return":true,"sink":{"a.tlx":[{"msg":"w","type":"warning","line":1,"column":1}]}})",
         0, ""},
        {R"({"return":false})", -1, ""},
        {R"({"return":false,"sink":{}})", -1, ""},
        // Files in byte order, whatever the text's order.
        {R"({"return":false,"sink":{"b":[{"msg":"2","type":"error"}],)"
         R"("a":[{"msg":"1","type":"error"}],"B":[{"msg":"0","type":"note"}]}})",
         -1, "B:0\na:1\nb:2\n"},
        // A line without a column is written at column 0.
        {R"({"return":false,"sink":{"f":[{"line":4,"msg":"m","type":"error"}]}})", -1,
         "f:4:0:\"error\" m\n"},
        {R"({"return":false,"sink":{"f":[{"line":4,"column":2,"msg":"a \"q\"\tb","type":"note"}]}})",
         -1, "f:4:2:\"note\" a \"q\"\tb\n"},
    };
    for (const Case& c : cases) {
        std::ostringstream out;
        EXPECT_EQ(display_return_message(c.report, out, true), c.result)
            << (c.report ? c.report : "null");
        EXPECT_EQ(out.str(), c.lines) << (c.report ? c.report : "null");
    }
}

TEST(DisplayReturnMessage, TextThatIsNoReportRaisesTheJsonErrors) {
    struct Case {
        const char* report;
        const char* message;
        const char* written_before;
    };
    const Case cases[] = {
        {"{", "[json.exception.parse_error.101]", ""},
        {"{}", "[json.exception.type_error.302] type must be boolean, but is null", ""},
        {R"({"return":"false"})",
         "[json.exception.type_error.302] type must be boolean, but is string", ""},
        {"[]", "[json.exception.type_error.305]", ""},
        {R"({"return":false,"sink":{"f":[{"msg":"ok","type":"error"},{"msg":"m","type":4}]}})",
         "[json.exception.type_error.302] type must be string, but is number", "f:ok\n"},
        {R"({"return":false,"sink":{"f":[{"type":"error"}]}})",
         "[json.exception.out_of_range.403] key 'msg' not found", ""},
        {R"({"return":false,"sink":{"f":["error"]}})", "[json.exception.type_error.304]", ""},
    };
    for (const Case& c : cases) {
        std::ostringstream out;
        try {
            display_return_message(c.report, out, false);
            ADD_FAILURE() << "no error for " << c.report;
        } catch (const nlohmann::json::exception& e) {
            EXPECT_EQ(std::string(e.what()).rfind(c.message, 0), 0u) << e.what();
        }
        EXPECT_EQ(out.str(), c.written_before) << c.report;
    }
}

} // namespace
} // namespace qvr::compiler

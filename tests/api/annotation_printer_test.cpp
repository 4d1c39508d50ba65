#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "api/sdk/annotation_printer.h"
#include "api/sdk/annotation_rich_printer.h"
#include "api/sdk/json_to_dez_results_v2.h"
#include "tests/api/sdk_fixture.h"

namespace qvr::common {
namespace {

using fixture::read_data;
using fixture::SentenceList;

template <typename Printer> std::string print(const std::string& json, bool show_offsets) {
    SentenceList sentences;
    JsonToResult result(sentences.list);
    json_to_dez_results_v2(result, json.c_str());
    std::ostringstream out;
    {
        Printer printer(out, show_offsets);
        for (const Annotation* sentence = sentences.list.head; sentence; sentence = sentence->next)
            printer.visit(sentence);
    }
    return out.str();
}

TEST(AnnotationPrinters, PrintTheFixtureResultAsPinned) {
    const std::string json = read_data("result_v2.json");
    EXPECT_EQ(print<AnnotationPrinter>(json, true), read_data("result_v2.printed.txt"));
    EXPECT_EQ(print<AnnotationRichPrinter>(json, true), read_data("result_v2.rich.txt"));
}

TEST(AnnotationPrinters, LayoutCases) {
    struct Case {
        const char* name;
        const char* json;
        bool show_offsets;
        const char* plain;
    };
    const Case cases[] = {
        {"without offsets only sentences show theirs",
         R"({"sentences":[[1,4,6,[[3,4,6,"ok",[],[["ok","Adj"]]]]]]})", false,
         "s(4,6)\n    \"ok\" ['ok':Adj]\n"},
        {"properties run straight into the first reading",
         R"({"sentences":[[1,0,2,[[3,0,2,"ok",["b","a"],[["ok","Adj"],["ok","Int"]]]]]]})", true,
         "s(0,2)\n    t(0,2) \"ok\" (a, b)['ok':Adj], ['ok':Int]\n"},
        {"a token without readings ends after its properties",
         R"({"sentences":[[1,0,2,[[3,0,2,"ok",["p"],[]]]]]})", true,
         "s(0,2)\n    t(0,2) \"ok\" (p)\n"},
        {"concepts closing at one token share a line, inner first",
         R"({"sentences":[[1,0,2,[[2,0,2,"Outer",{}],[2,0,2,"Inner",{}],)"
         R"([3,0,2,"ok",[],[]]]]]})",
         true, "s(0,2)\n   {Outer\n   {Inner\n    t(0,2) \"ok\" \n   }Inner }Outer\n"},
        {"a closing line ends at the next sentence",
         R"({"sentences":[[1,0,2,[[2,0,2,"C",{}],[3,0,2,"ok",[],[]]]],[1,3,4,[]]]})", true,
         "s(0,2)\n   {C\n    t(0,2) \"ok\" \n   }C\ns(3,4)\n"},
        {"a concept left open is dropped at the next sentence",
         R"({"sentences":[[1,0,2,[[2,0,9,"Long",{}],[3,0,2,"ok",[],[]]]],)"
         R"([1,3,4,[[3,3,4,"x",[],[]]]]]})",
         true, "s(0,2)\n   {Long\n    t(0,2) \"ok\" \ns(3,4)\n    t(3,4) \"x\" \n"},
        {"nothing is escaped",
         R"({"sentences":[[1,0,3,[[2,0,3,"a\"b",{"k":["x;y=z"]}],[3,0,3,"\"q\"",[],[]]]]]})", true,
         "s(0,3)\n   {a\"b @ k=x;y=z; \n    t(0,3) \"\"q\"\" \n   }a\"b\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(print<AnnotationPrinter>(c.json, c.show_offsets), c.plain) << c.name;
}

TEST(AnnotationPrinters, ClosingLineWaitsForTheNextLineOrTheEnd) {
    SentenceList sentences;
    JsonToResult result(sentences.list);
    json_to_dez_results_v2(result,
                           R"({"sentences":[[1,0,2,[[2,0,2,"C",{}],[3,0,2,"ok",[],[]]]]]})");
    std::ostringstream out;
    {
        AnnotationRichPrinter printer(out, true);
        printer.visit(sentences.list.head);
        EXPECT_EQ(out.str(), "s(0,2)\n   {<uri>C</uri>\n    t(0,2) \"<literal>ok</literal>\" \n"
                             "   }C");
    }
    EXPECT_EQ(out.str().back(), '\n');
}

} // namespace
} // namespace qvr::common

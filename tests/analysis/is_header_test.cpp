#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "analysis/is_header.h"
#include "analysis/token_properties.h"
#include "document/token_flags.h"
#include "tests/document/blackboard_fixture.h"

namespace dez::trelix {
namespace {

struct Line {
    std::string words;
    // Readings by token index: pos, applied with the literal as stem.
    std::vector<std::pair<size_t, std::string>> readings = {};
    uint64_t first_flags = 0;
};

std::unique_ptr<Sentence> make_line(const Line& line) {
    std::unique_ptr<Sentence> sentence(fixture::make_sentence(line.words));
    for (size_t i = 0; Token* token = fixture::token_at(*sentence, i); ++i)
        add_properties(token);
    for (const auto& [index, pos] : line.readings) {
        Token* token = fixture::token_at(*sentence, index);
        token->readings.emplace_back(pos, token->literal, 1.0);
    }
    if (Token* first = fixture::token_at(*sentence, 0))
        first->token_flags |= line.first_flags;
    return sentence;
}

TEST(IsHeader, TitleLines) {
    struct Case {
        const char* name;
        Line line;
        bool header;
        bool header_new;
    };
    const std::vector<Case> cases = {
        {"title with a year", {"Annual Report 2020"}, true, true},
        {"year read as a number", {"Annual Report 2020", {{2, "Num"}}}, true, true},
        {"plain sentence", {"The cat sat on the mat"}, false, true},
        {"small first word", {"the Report"}, false, false},
        {"long plain word", {"Report with extraordinary"}, false, false},
        {"long capital word", {"Extraordinary Report"}, true, true},
        {"long number", {"Report 1234567", {{1, "Num"}}}, true, true},
        {"punctuation counts for nothing",
         {"Report . . . .", {{1, "Punct"}, {2, "Punct"}, {3, "Punct"}, {4, "Punct"}}},
         true,
         true},
        {"as many short as capital", {"Big cat", {}}, false, true},
        {"more capital than short", {"Big Cat sat"}, true, true},
        {"four short words", {"Big Red Fat Cat sat on a mat"}, false, true},
        {"line punctuation first",
         {"- the rest of it is long and plain", {{0, "Punct"}, {0, "Punct-Line"}}},
         true,
         false},
        {"header prefix first", {"1. introduction", {}, token_flags::header_prefix}, true, false},
        {"no token", {""}, false, false},
    };
    fixture::TestAnalyzer analyzer;
    auto on = fixture::make_blackboard(analyzer);
    for (const Case& c : cases) {
        std::unique_ptr<Sentence> sentence = make_line(c.line);
        EXPECT_EQ(is_header(*on, sentence->annotations), c.header) << c.name;
        EXPECT_EQ(is_header_new(sentence->annotations), c.header_new) << c.name;
    }
}

TEST(IsHeader, DetectionSwitchedOff) {
    fixture::TestAnalyzer analyzer;
    auto off = fixture::make_blackboard(analyzer, R"({"detect_headers":"false"})");
    std::unique_ptr<Sentence> sentence = make_line({"Annual Report 2020"});
    EXPECT_FALSE(is_header(*off, sentence->annotations));
    EXPECT_TRUE(is_header_new(sentence->annotations));

    fixture::TestAnalyzer quiet("{}", fixture::make_language_module("english", false));
    auto by_language = fixture::make_blackboard(quiet);
    EXPECT_FALSE(is_header(*by_language, sentence->annotations));
}

} // namespace
} // namespace dez::trelix

// Sentence splits of English text with the generated English module's
// abbreviations (tools/english): known abbreviations do not end sentences.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "analysis/analyzer.h"
#include "document/blackboard.h"
#include "engine/engine.h"
#include "engine/language_module.h"
#include "foundation/options.h"
#include "tests/analysis/english_fixture.h"
#include "tests/document/blackboard_fixture.h"

namespace dez::trelix {
namespace {

using fixture::english_module;

std::vector<std::string> sentences_of(const std::string& text) {
    fixture::TestAnalyzer analyzer("{}", english_module());
    auto document = fixture::make_blackboard(analyzer);
    document->set_analyzer(analyzer.handle.analyzer);
    document->analyzer->text_to_annotations_v2(*document, text.data(), text.size());
    std::vector<std::string> out;
    for (const auto& [begin, info] : document->sentences)
        out.emplace_back(document->text + info.sentence->begin,
                         info.sentence->end - info.sentence->begin);
    return out;
}

TEST(EnglishSentences, KnownAbbreviationsDoNotEndSentences) {
    const struct {
        const char* text;
        std::vector<std::string> sentences;
    } cases[] = {
        {"Dr. Smith arrived on Monday. He was late.",
         {"Dr. Smith arrived on Monday.", "He was late."}},
        {"We met Mr. Jones at the U.S. Embassy. It was closed!",
         {"We met Mr. Jones at the U.S. Embassy.", "It was closed!"}},
        {"Bring fruit, e.g. Apples or pears. Was it enough? Yes, it was.",
         {"Bring fruit, e.g. Apples or pears.", "Was it enough?", "Yes, it was."}},
        {"Prof. Brown left at 5 p.m. yesterday. Nobody saw him.",
         {"Prof. Brown left at 5 p.m. yesterday.", "Nobody saw him."}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(sentences_of(c.text), c.sentences) << c.text;
}

} // namespace
} // namespace dez::trelix

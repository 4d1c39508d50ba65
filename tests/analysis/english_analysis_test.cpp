// The generated English module (tools/english) on the whole analysis road:
// sentences, tokens and the readings the lexicon, the postagger and the HMM
// tagger leave.

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
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

// One analysed text: per sentence, its tokens as (literal, pos of the first
// reading left).
using Tagged = std::vector<std::vector<std::pair<std::string, std::string>>>;

Tagged analyse(const std::string& text) {
    fixture::TestAnalyzer analyzer("{}", english_module());
    auto document = fixture::make_blackboard(analyzer);
    document->set_analyzer(analyzer.handle.analyzer);
    document->analyzer->generate(*document, text.data(), text.size());
    Tagged out;
    for (Annotation* a = document->annotations->head; a; a = a->next) {
        if (a->type != annotation_sentence)
            continue;
        out.emplace_back();
        for (Annotation* t = static_cast<Sentence*>(a)->annotations.head; t; t = t->next)
            if (t->type == annotation_token) {
                const auto* token = static_cast<Token*>(t);
                out.back().emplace_back(token->literal,
                                        token->readings.empty() ? "" : token->readings.front().pos);
            }
    }
    return out;
}

TEST(EnglishAnalysis, SampleParagraph) {
    using Sentence = std::vector<std::pair<std::string, std::string>>;
    const Tagged expected = {
        Sentence{{"Dr.", "Prop-Std"},
                 {"Smith", "Prop-Std"},
                 {"did", "Aux-Fin"},
                 {"n't", "Part-Neg"},
                 {"know", "V-Inf"},
                 {"John", "Prop-Std"},
                 {"'s", "Part-Poss"},
                 {"cats", "Nn-Pl"},
                 {"were", "Aux-Fin-be"},
                 {"sleeping", "V-PrPart"},
                 {".", "Punct-Sent"}},
        Sentence{{"The", "Det-Def"},
                 {"3rd", "Adj-Ord"},
                 {"meeting", "Nn-Sg"},
                 {"costs", "V-Pres-3-Sg"},
                 {"$", "Nn-Sym"},
                 {"5", "Num"},
                 {"m", "Num"},
                 {",", "Punct-Comma"},
                 {"e.g.", "Adv-Std"},
                 {"in", "Prep-Std"},
                 {"London", "Prop-Std"},
                 {"!", "Punct-Sent"}},
        Sentence{{"She", "Pron-Pers"},
                 {"walks", "V-Pres-3-Sg"},
                 {"to", "Prep-to"},
                 {"school", "Nn-Sg"},
                 {"at", "Prep-Std"},
                 {"10:30", "Num"},
                 {".", "Punct-Sent"}},
    };
    EXPECT_EQ(analyse("Dr. Smith didn't know John's cats were sleeping. The 3rd meeting costs "
                      "$5m, e.g. in London! She walks to school at 10:30."),
              expected);
}

TEST(EnglishAnalysis, HeldOutSentencesThroughTheWholeRoad) {
    const auto sentences = fixture::held_out_sentences();
    ASSERT_FALSE(sentences.empty());
    std::size_t correct = 0, total = 0;
    for (const auto& gold : sentences) {
        std::string text;
        for (const auto& token : gold)
            text += (text.empty() ? "" : " ") + token.first;
        Tagged tagged = analyse(text);
        std::vector<std::pair<std::string, std::string>> tokens;
        for (const auto& sentence : tagged)
            tokens.insert(tokens.end(), sentence.begin(), sentence.end());
        ASSERT_EQ(tokens.size(), gold.size()) << text;
        for (std::size_t k = 0; k < gold.size(); ++k) {
            ++total;
            correct += tokens[k].second == gold[k].second;
        }
    }
    // The generator reports the same figure from its own Viterbi: 695 of 718
    // tokens (96.8%).
    EXPECT_GE(total, 700u);
    EXPECT_GE(static_cast<double>(correct) / static_cast<double>(total), 0.965)
        << correct << " of " << total;
}

} // namespace
} // namespace dez::trelix

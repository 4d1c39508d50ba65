#include "analysis/analyzer.h"
#include "document/blackboard.h"
#include "tests/document/blackboard_fixture.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

using namespace dez::trelix;

// Text shapes: ordinary prose, and inputs whose rules look back or ahead over
// long stretches (which must stay linear).
const char* const shapes[] = {
    "The cat sat on the mat. Dr. Who said: \"Yes!\" Then 1) a list\n- item one\nexam-\nple. ",
    "a.B-",             // one growing word of periods and capitals
    "x",                // one word without any space
    "#a",               // hashes at every over-long cut
    " \n",              // single line breaks between spaces
    "-.",               // punctuation only
    "From: a\nTo: b\n", // field lines
};

std::string make_text(const std::string& unit, size_t bytes) {
    std::string text;
    text.reserve(bytes + unit.size());
    while (text.size() < bytes)
        text += unit;
    return text;
}

} // namespace

static void BM_TextSentenceSplitter(benchmark::State& state) {
    const std::string text = make_text(shapes[state.range(0)], static_cast<size_t>(state.range(1)));
    fixture::TestAnalyzer analyzer;
    for (auto _ : state) {
        auto document = fixture::make_blackboard(analyzer);
        analyzer.handle.analyzer->text_to_annotations_v2(*document, text.data(), text.size());
        benchmark::DoNotOptimize(document->sentences.size());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_TextSentenceSplitter)
    ->ArgsProduct({benchmark::CreateDenseRange(0, 6, 1), {1 << 16, 1 << 18, 1 << 20}})
    ->Unit(benchmark::kMillisecond);

#include "api/stream_internal_results_json_format.h"
#include "api/stream_json_api_format.h"
#include "document/blackboard.h"
#include "tests/document/blackboard_fixture.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <sstream>
#include <string>

namespace {

using namespace dez::trelix;

// A document of `sentences` sentences of 20 tokens, each with two readings,
// and an imported concept with two attributes over every third token.
std::unique_ptr<Blackboard> make_document(fixture::TestAnalyzer& analyzer, size_t sentences) {
    auto document = fixture::make_blackboard(analyzer);
    document->language = "english";
    uint32_t offset = 0;
    for (size_t s = 0; s < sentences; ++s) {
        std::string text;
        for (int t = 0; t < 20; ++t)
            text += (t ? " w" : "W") + std::to_string(t);
        Sentence* sentence = fixture::add_sentence(*document, text, offset);
        offset += static_cast<uint32_t>(text.size()) + 1;
        for (size_t t = 0; t < 20; ++t) {
            Token* token = fixture::token_at(*sentence, t);
            token->readings.emplace_back("Nn", token->literal, 1.0);
            token->readings.emplace_back("Verb", token->literal, 1.0);
            token->readings.back().tags = {"Pres", "3sg"};
            token->properties.insert("lower");
        }
        for (size_t t = 0; t < 20; t += 3) {
            Token* token = fixture::token_at(*sentence, t);
            Concept* c = fixture::add_concept(*sentence, token, token, "Thing");
            c->add("kind", "a");
            c->add("kind", "b");
            c->flags.set(Concept::import);
        }
    }
    return document;
}

// Writes a document of `state.range(0)` sentences with one of the result
// formats.
void ResultJson(benchmark::State& state, void (*write)(Blackboard&, std::ostream&)) {
    fixture::TestAnalyzer analyzer;
    auto document = make_document(analyzer, static_cast<size_t>(state.range(0)));
    size_t bytes = 0;
    for (auto _ : state) {
        std::ostringstream out;
        write(*document, out);
        bytes += out.str().size();
        benchmark::DoNotOptimize(bytes);
    }
    state.SetBytesProcessed(static_cast<int64_t>(bytes));
}
BENCHMARK_CAPTURE(ResultJson, v2, stream_json_api_format)->Arg(10)->Arg(100)->Arg(1000)->Arg(4000);
BENCHMARK_CAPTURE(ResultJson, internal, stream_internal_results_json_format)->Arg(10)->Arg(1000);

} // namespace

#include "document/blackboard.h"
#include "document/i_add_concept.h"
#include "domain/domain_facade.h"
#include "tests/document/blackboard_fixture.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace dez::trelix;

struct Match {
    size_t first;
    size_t length;
    std::string uri;
    std::string attributes;
};

// Dense and repeatable: spans of 1 to 5 tokens over 20 uris, some with
// attributes, so adds, updates, ignores and nested deletions all occur.
std::vector<Match> make_matches(size_t tokens, size_t count) {
    std::vector<Match> matches;
    uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return seed >> 8;
    };
    for (size_t i = 0; i < count; ++i) {
        const size_t length = 1 + next() % 5;
        const size_t first = next() % (tokens - length + 1);
        const uint32_t kind = next();
        matches.push_back({first, length, "Concept" + std::to_string(kind % 20),
                           kind % 3 == 0 ? "@k=v;n=" + std::to_string(kind % 7) : ""});
    }
    return matches;
}

std::string make_text(size_t tokens) {
    std::string text;
    for (size_t i = 0; i < tokens; ++i)
        text += i ? " w" : "w";
    return text;
}

} // namespace

// Insertion walks back to the sentence head for a bigger concept of the same
// uri on every match, so dense sentences cost more than linear time.
static void BM_InsertConcepts(benchmark::State& state) {
    const size_t tokens = static_cast<size_t>(state.range(0));
    const size_t count = static_cast<size_t>(state.range(1));
    const std::string text = make_text(tokens);
    const std::vector<Match> matches = make_matches(tokens, count);
    auto domain = std::make_shared<DomainFacade>("bench.dom");
    for (uint32_t i = 0; i < 20; ++i)
        domain->concept_names["Concept" + std::to_string(i)] = i + 1;
    fixture::TestAnalyzer analyzer;

    for (auto _ : state) {
        state.PauseTiming();
        auto document = fixture::make_blackboard(analyzer);
        document->set_text(text.data(), text.size());
        Sentence* sentence = fixture::add_sentence(*document, text);
        document->set_current_domain(domain);
        std::vector<Annotation*> token_list;
        for (Annotation* a = sentence->annotations.head; a; a = a->next)
            if (a->type == annotation_token)
                token_list.push_back(a);
        IAddConcept& collector = *document->collector;
        state.ResumeTiming();

        for (const Match& m : matches) {
            Annotation* begin = token_list[m.first];
            Annotation* end = token_list[m.first + m.length - 1]->next;
            benchmark::DoNotOptimize(collector(begin, end, m.uri, m.attributes, nullptr, "bench"));
        }

        state.PauseTiming();
        document.reset();
        state.ResumeTiming();
    }
    state.counters["insertions"] = benchmark::Counter(
        static_cast<double>(count), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_InsertConcepts)->Args({150, 1000})->Unit(benchmark::kMillisecond);

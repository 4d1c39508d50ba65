// Language identification of the held-out one-line texts (sentences of 5 to
// 15 words, or 10 to 60 characters in unsegmented scripts) with the lid.fst
// generated at build time. Items are texts; one identifier is shared by all
// threads. Accuracy per language: tools/lid/lid_accuracy.

#include <benchmark/benchmark.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "analysis/lid.h"
#include "engine/engine.h"
#include "foundation/options.h"
#include "tools/lid/heldout_set.h"

namespace {

struct LidBench {
    LidBench() {
        const std::string folder = TRELIX_LID_DATA;
        const nlohmann::json options = {{"root_path", folder}, {"morfex", folder}};
        engine = std::make_shared<dez::trelix::Engine>(
            std::make_shared<dez::Options>(options.dump().c_str()));
        lid = std::make_unique<dez::trelix::Lid>(
            engine.get(), std::make_shared<dez::Options>("{\"long_names\":\"false\"}"));
        for (const auto& line : trelix_tools::read_heldout_set(folder + "/heldout.tsv")) {
            texts.push_back(line.text);
            codes.push_back(line.code);
        }
        if (texts.empty())
            throw std::runtime_error("empty held-out set");
    }
    std::shared_ptr<dez::trelix::Engine> engine;
    std::unique_ptr<dez::trelix::Lid> lid;
    std::vector<std::string> texts;
    std::vector<std::string> codes;
};

LidBench& bench() {
    static LidBench data;
    return data;
}

void BM_IdentifyHeldoutLines(benchmark::State& state) {
    LidBench& data = bench();
    std::size_t i = static_cast<std::size_t>(state.thread_index()) * 97 % data.texts.size();
    int64_t right = 0;
    int64_t bytes = 0;
    for (auto _ : state) {
        const std::string& text = data.texts[i];
        const std::string language = data.lid->lid(text.data(), text.size());
        right += language == data.codes[i];
        bytes += static_cast<int64_t>(text.size());
        benchmark::DoNotOptimize(language.data());
        if (++i == data.texts.size())
            i = 0;
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(bytes);
    state.counters["correct"] =
        benchmark::Counter(static_cast<double>(right) / static_cast<double>(state.iterations()),
                           benchmark::Counter::kAvgThreads);
}
BENCHMARK(BM_IdentifyHeldoutLines)->Threads(1)->Threads(4)->UseRealTime();

void BM_SectionsOfHeldoutParagraphs(benchmark::State& state) {
    LidBench& data = bench();
    // Paragraphs of 20 held-out lines each, every language in turn.
    std::string text;
    for (std::size_t i = 0; i < data.texts.size(); ++i) {
        text += data.texts[i];
        text += (i % 20 == 19) ? "\n\n" : " ";
    }
    for (auto _ : state) {
        const std::string json = data.lid->language_sections(text.data(), text.size());
        benchmark::DoNotOptimize(json.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_SectionsOfHeldoutParagraphs)->Unit(benchmark::kMillisecond);

} // namespace

#include "core-afst/builder.h"

#include <benchmark/benchmark.h>

#include <fst/vector-fst.h>

#include <unistd.h>

#include <filesystem>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

// Building a lexicon transducer the way the lexicon build does: one rule per
// entry, determinised at once; buckets of rules unioned, determinised and
// saved to intermediate files; the files read into one builder, unioned and
// written with the full optimisation.

namespace {

namespace fs = std::filesystem;

constexpr int entry_count = 100000;
constexpr int bucket_size = 10000;

struct Entry {
    std::string word;
    std::string tag;
};

// Words from syllables, a third of them with a second reading.
std::vector<Entry> make_entries() {
    static const char* const syllables[] = {"ka",  "lo", "mi", "ter", "an", "sul", "pre", "do",
                                            "vin", "go", "ra", "es",  "tu", "bel", "or",  "ni"};
    static const char* const tags[] = {"[+Nn-Sg]", "[+Nn-Pl]", "[+V-Inf]",  "[+V-3Sg]",
                                       "[+Adj]",   "[+Adv]",   "[+V-Past]", "[+Prop]"};
    std::mt19937 random(20240611);
    std::vector<Entry> entries;
    entries.reserve(entry_count);
    while (static_cast<int>(entries.size()) < entry_count) {
        std::string word;
        const int length = 2 + static_cast<int>(random() % 4);
        for (int i = 0; i < length; ++i)
            word += syllables[random() % 16];
        entries.push_back({word, tags[random() % 8]});
        if (random() % 3 == 0 && static_cast<int>(entries.size()) < entry_count)
            entries.push_back({word, tags[random() % 8]});
    }
    return entries;
}

void add_entry(dez::afst::Builder& builder, const Entry& entry) {
    builder.open_rule();
    for (char c : entry.word)
        builder.pushArc(std::string(1, c));
    builder.pushArc("eps", entry.tag);
    builder.close_rule();
    builder.build(false);
}

void BM_LexiconBuild(benchmark::State& state) {
    const auto entries = make_entries();
    const fs::path dir =
        fs::temp_directory_path() / ("trelix_bench_builder_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::vector<std::string> files;
        dez::afst::Builder builder;
        for (std::size_t begin = 0; begin < entries.size(); begin += bucket_size) {
            const std::size_t end = std::min(entries.size(), begin + bucket_size);
            for (std::size_t i = begin; i < end; ++i)
                add_entry(builder, entries[i]);
            builder.applyUnion(0);
            builder.build(false);
            files.push_back((dir / ("bucket_" + std::to_string(files.size()) + ".fst")).string());
            builder.save(files.back());
            builder.clear();
        }
        dez::afst::Builder lexicon;
        for (const auto& file : files)
            lexicon.read(file);
        lexicon.applyUnion(0);
        std::stringstream stream;
        lexicon.write(stream);
        bytes = stream.str().size();
        benchmark::DoNotOptimize(bytes);
    }
    fs::remove_all(dir);
    state.counters["entries/s"] =
        benchmark::Counter(double(entries.size()), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(BM_LexiconBuild)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

#include "core-afst/builder.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
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

// The size of an English full-form lexicon.
constexpr int entry_count = 181585;
constexpr int bucket_size = 10000;

struct Entry {
    std::string surface;
    std::string lemma;
    std::string tag;
};

// Lemmas from syllables; most surfaces are the lemma itself or the lemma with
// an inflection, some are irregular; a quarter of the surfaces have a second
// reading (another tag, sometimes another lemma).
std::vector<Entry> make_entries() {
    static const char* const syllables[] = {"ka",  "lo", "mi", "ter", "an", "sul", "pre", "do",
                                            "vin", "go", "ra", "es",  "tu", "bel", "or",  "ni",
                                            "str", "ph", "ough", "ck", "ea", "y", "th", "qu"};
    struct Form {
        const char* suffix;
        const char* tag;
    };
    static const Form forms[] = {{"", "+Nn-Sg"},    {"s", "+Nn-Pl"},    {"", "+V-Inf"},
                                 {"s", "+V-3Sg"},   {"ed", "+V-Past"},  {"ing", "+V-Prog"},
                                 {"er", "+Adj-Cmp"}, {"est", "+Adj-Sup"}, {"ly", "+Adv"},
                                 {"", "+Prop"}};
    std::mt19937 random(20240611);
    std::vector<Entry> entries;
    entries.reserve(entry_count);
    const auto add = [&](Entry entry) {
        if (static_cast<int>(entries.size()) < entry_count)
            entries.push_back(std::move(entry));
    };
    while (static_cast<int>(entries.size()) < entry_count) {
        std::string lemma;
        const int length = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < length; ++i)
            lemma += syllables[random() % 24];
        // A lemma with a few of its forms.
        for (int n = 1 + static_cast<int>(random() % 5); n > 0; --n) {
            const Form& form = forms[random() % 10];
            std::string surface = lemma + form.suffix;
            if (random() % 20 == 0)
                surface = lemma.substr(0, lemma.size() / 2) + "ought"; // irregular
            add({surface, lemma, form.tag});
            if (random() % 4 == 0)
                add({surface, random() % 2 ? lemma : surface, forms[random() % 10].tag});
        }
    }
    return entries;
}

// Pairs position by position like a raw pattern line "surface:lemma[+Tag]":
// the side that runs out gives "eps".
void add_entry(dez::afst::Builder& builder, const Entry& entry) {
    builder.open_rule();
    const std::size_t upper_length = entry.lemma.size() + 1;
    const std::size_t length = std::max(entry.surface.size(), upper_length);
    for (std::size_t i = 0; i < length; ++i) {
        const std::string lower =
            i < entry.surface.size() ? std::string(1, entry.surface[i]) : std::string("eps");
        const std::string upper = i < entry.lemma.size()   ? std::string(1, entry.lemma[i])
                                  : i == entry.lemma.size() ? entry.tag
                                                            : std::string("eps");
        builder.pushArc(lower, upper);
    }
    builder.close_rule();
    builder.build(false);
}

double peak_rss_mb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
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
    // The whole process's high-water mark, entries included.
    state.counters["peak_MB"] = peak_rss_mb();
}
BENCHMARK(BM_LexiconBuild)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace

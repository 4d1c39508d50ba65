#pragma once

// Benchmark lexicons: generated words, built the way the lexicon build does
// (buckets of rules, each unioned, then one union of the buckets), written
// to a file image and read back, with what loading them cost in memory.

#include "core-afst/afst.h"
#include "core-afst/builder.h"

#include <fst/vector-fst.h>

#include <malloc.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

// Words of `min_syllables` to `max_syllables` syllables drawn from a list.
class BenchWordGenerator {
public:
    BenchWordGenerator(std::vector<std::string> syllables, int min_syllables, int max_syllables)
        : syllables_(std::move(syllables)), min_(min_syllables), max_(max_syllables) {}

    std::string operator()(std::mt19937& random) const {
        std::string word;
        const int length = min_ + static_cast<int>(random() % (max_ - min_ + 1));
        for (int i = 0; i < length; ++i)
            word += syllables_[random() % syllables_.size()];
        return word;
    }

    // `count` different words, in byte order.
    std::vector<std::string> unique(std::mt19937& random, std::size_t count) const {
        std::set<std::string> words;
        while (words.size() < count)
            words.insert((*this)(random));
        return {words.begin(), words.end()};
    }

private:
    std::vector<std::string> syllables_;
    int min_;
    int max_;
};

// Bytes the allocator hands out at the moment.
inline std::size_t bench_heap_in_use() {
    return mallinfo2().uordblks;
}

// A lexicon ready for lookups and the tokens to look up in it.
struct BenchLexicon {
    std::shared_ptr<dez::afst::AFst> lexicon;
    std::vector<std::string> tokens;
    std::size_t file_bytes = 0;    // the written transducer
    std::size_t network_bytes = 0; // heap taken by reading it back
    std::size_t loaded_bytes = 0;  // heap the loaded AFst holds (it lets the network go)
};

// One rule per word: its characters, then an "eps" arc with the tag.
inline void load_bench_lexicon(BenchLexicon& out, const std::vector<std::string>& words,
                               const std::function<std::string()>& tag, std::size_t bucket_size) {
    std::string image;
    {
        dez::afst::Builder lexicon;
        for (std::size_t begin = 0; begin < words.size(); begin += bucket_size) {
            dez::afst::Builder bucket;
            for (std::size_t i = begin; i < words.size() && i < begin + bucket_size; ++i) {
                bucket.open_rule();
                for (char c : words[i])
                    bucket.pushArc(std::string(1, c));
                bucket.pushArc("eps", tag());
                bucket.close_rule();
                bucket.build(false);
            }
            bucket.applyUnion(0);
            lexicon.push_network(std::make_shared<fst::StdVectorFst>(*bucket.build(false)));
        }
        lexicon.applyUnion(0);
        std::stringstream stream;
        lexicon.write(stream);
        image = stream.str();
    }
    out.file_bytes = image.size();
    std::istringstream stream(image);
    const std::size_t before = bench_heap_in_use();
    std::shared_ptr<fst::StdVectorFst> network(
        fst::StdVectorFst::Read(stream, fst::FstReadOptions("lexicon")));
    out.network_bytes = bench_heap_in_use() - before;
    out.lexicon = std::make_shared<dez::afst::AFst>(std::move(network));
    out.loaded_bytes = bench_heap_in_use() - before;
}

inline std::shared_ptr<dez::afst::AFst> build_bench_lexicon(const std::vector<std::string>& words,
                                                            const std::function<std::string()>& tag,
                                                            std::size_t bucket_size) {
    BenchLexicon built;
    load_bench_lexicon(built, words, tag, bucket_size);
    return built.lexicon;
}

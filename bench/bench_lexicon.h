#pragma once

// Builds a benchmark lexicon the way the lexicon build does: buckets of rules,
// each unioned, then one union of the buckets, written and read back.

#include "core-afst/builder.h"

#include <fst/vector-fst.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

inline std::shared_ptr<fst::StdVectorFst>
build_bench_lexicon(const std::vector<std::string>& words, const std::function<std::string()>& tag,
                    std::size_t bucket_size) {
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
    return std::shared_ptr<fst::StdVectorFst>(
        fst::StdVectorFst::Read(stream, fst::FstReadOptions("lexicon")));
}

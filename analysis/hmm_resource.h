#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

namespace dez::trelix::core::hmm {

struct TransitionTableResource {
    // By (previous tag id << 32 | tag id).
    std::unordered_map<uint64_t, float> table;
    // What a missing start, emission or transition entry counts as.
    float default_probability = 1e-13f;
};

// The tagger tables of one language; read-only once loaded. Empty tables
// mean the language has no tagger.
struct Resource {
    // By word "^^" tag.
    std::unordered_map<std::string, float> emission;
    // By tag id.
    std::unordered_map<uint32_t, float> start;
    TransitionTableResource transition;
};

// The tables of a `.hmm` store. A stand-in answers empty tables until the
// HMM tagger work reads the store.
Resource load(const std::string& path);

} // namespace dez::trelix::core::hmm

#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

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

// The tables of a `.hmm` store (rows "start-hmm", "emission-hmm",
// "transmission-hmm"). dez::Exception when the path cannot be opened as a
// store, a row is missing or empty ("Cannot find start resource in hmm
// file." and the like), or a line lacks its separators. Start and transition
// lines naming a tag the part-of-speech table does not know are left out and
// logged: as id 0 they would all fall together.
Resource load(const std::string& path);

namespace detail {

uint64_t make_transition_id(unsigned long previous, unsigned long tag);

// Table readers over a row's bytes: one "key<TAB>probability" entry per line,
// the first line of a key wins. A malformed line is a dez::Exception naming
// its number. Tags the part-of-speech table does not know go to `unknown`
// (when given) instead of the table.
void load_probalitity_table(std::unordered_map<uint32_t, float>& table,
                            const std::vector<char>& data,
                            std::set<std::string>* unknown = nullptr);
void load_emission_table(std::unordered_map<std::string, float>& table,
                         const std::vector<char>& data);
// Keys are "previous tag<SPACE>tag".
void load_transition_table(TransitionTableResource& table, const std::vector<char>& data,
                           std::set<std::string>* unknown = nullptr);

} // namespace detail

} // namespace dez::trelix::core::hmm

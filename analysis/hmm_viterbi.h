#pragma once

#include <cstdint>
#include <map>
#include <vector>

namespace dez::trelix {
class Annotation;
class Token;
} // namespace dez::trelix

namespace dez::trelix::core::hmm {

struct Resource;

namespace detail {

// One scored state of a token. Scores are natural logarithms of
// probabilities, so that a window of 50 tokens cannot underflow to 0 and
// lose the order of its paths; a probability of 0 is minus infinity.
struct PosData {
    // Tag id of the best reading of the previous token; 0 for a window's first.
    uint32_t from = 0;
    double log_probability = 0.0;
};

// One token of a window and its states, ascending by tag id.
struct viterbi_element {
    Token* token; // not owned
    std::map<uint32_t, PosData> states;
};

// One tagging window.
struct CalculatePermutation {
    explicit CalculatePermutation(const Resource* resource) : resource(resource) {
        // A window never holds more (see hmm_build_candidates).
        elements.reserve(50);
    }

    // Chooses the tag of every token of the window from the best-scoring
    // state of the last one (on equal scores the lowest tag id), removes the
    // other readings and merges the kept readings of one stem. Leaves
    // `elements` empty.
    void apply_viterbi_algo();

    const Resource* resource; // not owned
    std::vector<viterbi_element> elements;
};

// Writes a window's tokens and states to standard output; dez::Exception
// "Invalid tag, not in the pos_table, index:" for a state of tag id 0.
// Scores are printed as their logarithms.
void print(const std::vector<viterbi_element>& elements);

} // namespace detail

// Scores the tokens of [first, end) (markup tokens and other annotations
// are passed over) into `window`, closing each full window with
// apply_viterbi_algo: at the first "Punct" token from the 30th token on,
// at the 50th at the latest. The caller closes the last window.
void hmm_build_candidates(Annotation* first, Annotation* end, detail::CalculatePermutation& window);

} // namespace dez::trelix::core::hmm

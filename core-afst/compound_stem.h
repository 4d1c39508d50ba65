#pragma once

#include "core-afst/results_memento_v2.h"

#include <string>
#include <vector>

namespace dez::afst {

// The result strings of a segmentation of `word`.

// "#" and the analysis of every component with a non-empty analysis.
std::string construct_stem_v2(const std::string& word, const CompoundSegmentation& segmentation);

// "#$", the word up to its last component, the last component's lemma (its
// first letter lower-cased), then "#" and each component's analysis:
// "#$Arbeitsamt#arbeit+N#amt+N". The v2 form when the word holds '#' or the
// last component has no lemma. The offsets count bytes of the word; an
// offset outside it or inside a character is clamped and moved back onto
// the character's start.
std::string construct_stem_v3(const std::string& word, const CompoundSegmentation& segmentation);

// As above, with offsets that count bytes of `converted`, the form of the
// word the lexicon was searched with. A converter may change byte lengths
// (U+1E9E is three bytes, its lower case two), so the cut is carried over by
// characters: as many characters of the word as `converted` has before the
// offset.
std::string construct_stem_v3(const std::string& word, const std::string& converted,
                              const CompoundSegmentation& segmentation);

// construct_stem_v3 (with `converted`) of every segmentation, in order.
std::vector<std::string> construct_stems_v3(const std::string& word, const std::string& converted,
                                            const std::vector<CompoundSegmentation>& segmentations);

// "#$", the word, then each component's analysis, after a "#" unless it is
// empty or begins with one.
std::string construct_literal(const std::string& word, const CompoundSegmentation& segmentation);

} // namespace dez::afst

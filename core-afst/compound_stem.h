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
// last component has no lemma. The offsets may come from a converted form
// of the word: the cut is kept inside the word and on a character boundary.
std::string construct_stem_v3(const std::string& word, const CompoundSegmentation& segmentation);

// construct_stem_v3 of every segmentation, in order.
std::vector<std::string> construct_stems_v3(const std::string& word,
                                            const std::vector<CompoundSegmentation>& segmentations);

// "#$", the word, then each component's analysis, after a "#" unless it is
// empty or begins with one.
std::string construct_literal(const std::string& word, const CompoundSegmentation& segmentation);

} // namespace dez::afst

#pragma once

#include "core-afst/results_memento_v2.h"

#include <cstdint>
#include <string>
#include <vector>

namespace dez::afst {

// Orders segmentations by their number of components, fewest first.
struct SortByNumberOfParts {
    bool operator()(const CompoundSegmentation& a, const CompoundSegmentation& b) const {
        return a.size() < b.size();
    }
};

// Keeps the most likely segmentations of `word` (changed in place): fewest
// components first, then by which components' literals spell the word. A
// negative answer means the word has no compound reading (no segmentation,
// or the word is a lexicon word itself); the list is then empty.
int32_t get_most_likely_components(const std::string& word,
                                   std::vector<CompoundSegmentation>& segmentations);

// Drops every segmentation that is empty or has a component other than its
// last whose analysis ends in "+gen" or "+def".
void filter_genetives(std::vector<CompoundSegmentation>& segmentations);

} // namespace dez::afst

#pragma once

#include "core-afst/end_offset_result_part_v2.h"

#include <vector>

namespace dez::afst {

// A segmentation: the components of a word in order.
using CompoundSegmentation = std::vector<EndOffsetResultPartV2>;

// The state of one segmentation search.
struct ResultsMementoV2 {
    // The components of the path being explored (a stack).
    CompoundSegmentation parts;
    // The complete segmentations, in the order found.
    std::vector<CompoundSegmentation> results;
};

} // namespace dez::afst

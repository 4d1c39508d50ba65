#pragma once

#include "core-afst/end_offset_result_part_v2.h"
#include "core-afst/result_collectors.h"
#include "core-afst/walk_network.h"

#include <string>
#include <vector>

namespace dez::afst {

// The compound walk's results: a component for every lexicon word that
// starts at the section start, with its byte length and the path's outputs
// joined without "eps". In the order found, duplicates kept.
class EndOffsetResultCollectorV2 {
public:
    using Spelling = JoinedOutputs;

    explicit EndOffsetResultCollectorV2(std::vector<EndOffsetResultPartV2>& results)
        : results_(results) {}

    template <class Input>
    bool collect(const std::string& analysis, const Input& input, typename Input::Position end) {
        results_.emplace_back(0, input.offset(end), analysis);
        return true;
    }

private:
    std::vector<EndOffsetResultPartV2>& results_;
};

} // namespace dez::afst

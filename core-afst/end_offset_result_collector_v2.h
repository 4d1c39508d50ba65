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
    explicit EndOffsetResultCollectorV2(std::vector<EndOffsetResultPartV2>& results)
        : results_(results) {}

    template <class Stack, class Input>
    bool collect(const Stack& stack, const OutputText& arc_output, const Input& input,
                 typename Input::Position end) {
        std::string analysis;
        detail::join_outputs(analysis, stack, arc_output);
        results_.emplace_back(0, input.offset(end), std::move(analysis));
        return true;
    }

private:
    std::vector<EndOffsetResultPartV2>& results_;
};

} // namespace dez::afst

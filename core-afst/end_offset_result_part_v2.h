#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dez::afst {

// One component of a compound: as a walk result, `start` is 0 (1 after a
// skipped linking character) and `end` the bytes from the section start to
// the end of the match; as a segmentation entry both are byte offsets from
// the start of the word.
struct EndOffsetResultPartV2 {
    int64_t start = 0;
    int64_t end = 0;
    // The lexicon path's outputs; "" once the section matcher cleared it.
    std::string analysis;
    uint16_t score = 100;

    EndOffsetResultPartV2() = default;
    EndOffsetResultPartV2(int64_t start_, int64_t end_, std::string analysis_,
                          uint16_t score_ = 100)
        : start(start_), end(end_), analysis(std::move(analysis_)), score(score_) {}

    // The analysis before its first '+' (all of it without one). Cached
    // together with tags(); recomputed when the analysis changed under it.
    std::string_view literal() const;
    // The analysis from its first '+' on; empty without one.
    std::string_view tags() const;

private:
    void compute_views() const;

    mutable std::string_view literal_view;
    mutable std::string_view tags_view;
};

} // namespace dez::afst

#include "core-afst/end_offset_result_part_v2.h"

namespace dez::afst {

void EndOffsetResultPartV2::compute_views() const {
    // The views point into `analysis`: a copy, a move or a new analysis
    // leaves them pointing elsewhere or covering another length.
    if (!literal_view.empty() && literal_view.data() == analysis.data() &&
        literal_view.size() + tags_view.size() == analysis.size())
        return;
    const std::string_view text(analysis);
    const auto plus = text.find('+');
    literal_view = text.substr(0, plus);
    tags_view = plus == std::string_view::npos ? std::string_view() : text.substr(plus);
}

std::string_view EndOffsetResultPartV2::literal() const {
    compute_views();
    return literal_view;
}

std::string_view EndOffsetResultPartV2::tags() const {
    compute_views();
    return tags_view;
}

} // namespace dez::afst

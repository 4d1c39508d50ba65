#include "analysis/lid_decision.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <ostream>
#include <vector>

#include "analysis/saturating_int32.h"

namespace dez::lid {

namespace {

// The threshold of both rules, the double 0.3 exactly; NaN never reaches it.
bool clear_margin(double margin) {
    return margin >= 0.3;
}

} // namespace

void add_vote(LidLanguageData& entry, int64_t score) {
    entry.score = saturating_add(entry.score, score);
    entry.count = saturating_add(entry.count, 1);
}

std::ostream& operator<<(std::ostream& stream, const ProbabilityResult& result) {
    return stream << result.language << ',' << result.probability;
}

const DecisionRule default_condition = [](int, const LidTallyEntry& first,
                                          const LidTallyEntry& second, double& out) {
    const double p1 = first.second.probability;
    const double p2 = second.second.probability;
    if (p1 == 0)
        return 0;
    out = (p1 - p2) / p1;
    if (clear_margin(out))
        return 0;
    out = 0;
    return -1;
};

const DecisionRule small_buffer_condition = [](int total, const LidTallyEntry& first,
                                               const LidTallyEntry& second, double& out) {
    const double p1 = first.second.probability;
    const double p2 = second.second.probability;
    const int32_t c1 = first.second.count;
    const int32_t c2 = second.second.count;
    if (p1 == 0)
        return 0;
    const double margin = (p1 - p2) / p1;
    out = margin;
    if (clear_margin(margin) && c1 > 2)
        return 0;
    if (!clear_margin(margin) && c1 <= 3)
        return -1;
    const double t = total;
    out = (c1 / t - c2 / t) / t;
    return out < 0 ? 1 : 0;
};

ProbabilityResult get_probability(LidTally tally, int total, const DecisionRule& rule) {
    std::vector<LidTallyEntry> ranked;
    ranked.reserve(tally.size());
    for (auto& [code, entry] : tally) {
        entry.probability = double(entry.score) * double(entry.count) / double(total);
        ranked.emplace_back(code, entry);
    }
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const LidTallyEntry& a, const LidTallyEntry& b) {
                         return a.second.probability > b.second.probability;
                     });
    if (ranked.empty())
        return {};
    if (ranked.size() == 1)
        return {ranked[0].first, 1.0};
    double out = 0;
    const int index = rule(total, ranked[0], ranked[1], out);
    if (index == -1)
        return {std::string(), out};
    if (out != 0 && index >= 0 && static_cast<std::size_t>(index) < ranked.size())
        return {ranked[index].first, out};
    return {};
}

} // namespace dez::lid

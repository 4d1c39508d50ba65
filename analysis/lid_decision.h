#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <map>
#include <string>
#include <utility>

namespace dez::lid {

// One language's entry in a tally of votes.
struct LidLanguageData {
    // Sum of the scores given to the language.
    int32_t score = 0;
    // Filled in only when a tally is ranked.
    double probability = 0;
    // Number of contributions added.
    int32_t count = 0;
};

// Votes by language code, byte-wise ascending.
using LidTally = std::map<std::string, LidLanguageData>;
using LidTallyEntry = std::pair<std::string, LidLanguageData>;

// Adds one contribution of `score` (saturating: a huge text must not wrap
// the sums around).
void add_vote(LidLanguageData& entry, int64_t score);

// The decision over a tally: an empty language when none wins.
struct ProbabilityResult {
    std::string language;
    double probability = 0;
};

// "<language>,<probability>".
std::ostream& operator<<(std::ostream& stream, const ProbabilityResult& result);

// (total, best entry, second entry, out probability) -> index of the winner
// among the two (0 or 1), or -1 for no decision.
using DecisionRule = std::function<int(int, const LidTallyEntry&, const LidTallyEntry&, double&)>;

// For long texts: the best wins by a relative margin of at least 0.3.
extern const DecisionRule default_condition;
// For short texts: the margin and at least three votes, or else the vote
// counts decide.
extern const DecisionRule small_buffer_condition;

// Ranks the entries by score x count / total (ties in code order) and lets
// `rule` decide between the two best. A single entry wins with 1.0. Throws
// std::bad_function_call for an empty rule.
ProbabilityResult get_probability(LidTally tally, int total, const DecisionRule& rule);

} // namespace dez::lid

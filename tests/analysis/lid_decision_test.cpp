#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <sstream>

#include "analysis/lid_decision.h"

namespace dez::lid {
namespace {

LidTallyEntry entry(const std::string& code, double probability, int32_t count) {
    LidLanguageData data;
    data.probability = probability;
    data.count = count;
    return {code, data};
}

struct RuleCase {
    const char* name;
    const DecisionRule* rule;
    LidTallyEntry first;
    LidTallyEntry second;
    int total;
    int index;
    double out;
};

TEST(LidDecisionRules, DecideBetweenTheTwoBest) {
    const RuleCase cases[] = {
        {"default: clear margin", &default_condition, entry("DE", 1.0, 1), entry("EN", 0.5, 1), 10,
         0, 0.5},
        {"default: margin 0.25 is no decision", &default_condition, entry("DE", 0.8, 4),
         entry("EN", 0.6, 2), 10, -1, 0},
        {"default: margin at 0.3", &default_condition, entry("DE", 1.0, 1), entry("EN", 0.7, 1), 10,
         0, 1.0 - 0.7},
        {"default: nothing scored", &default_condition, entry("DE", 0, 1), entry("EN", 0, 1), 10, 0,
         0},
        {"small: clear margin and three votes", &small_buffer_condition, entry("DE", 1.0, 3),
         entry("EN", 0.5, 1), 10, 0, 0.5},
        {"small: unclear margin, count rule", &small_buffer_condition, entry("DE", 0.8, 4),
         entry("EN", 0.6, 2), 10, 0, 0.02},
        {"small: unclear margin, three votes", &small_buffer_condition, entry("DE", 0.8, 3),
         entry("EN", 0.6, 2), 10, -1, 0.25},
        {"small: clear margin, too few votes, second has more", &small_buffer_condition,
         entry("DE", 1.0, 1), entry("EN", 0.5, 2), 10, 1, -0.01},
        {"small: clear margin, too few votes, equal counts", &small_buffer_condition,
         entry("DE", 1.0, 2), entry("EN", 0.5, 2), 10, 0, 0},
        {"small: nothing scored", &small_buffer_condition, entry("DE", 0, 5), entry("EN", 0, 1), 10,
         0, 0},
    };
    for (const RuleCase& c : cases) {
        double out = 0;
        EXPECT_EQ((*c.rule)(c.total, c.first, c.second, out), c.index) << c.name;
        EXPECT_NEAR(out, c.out, 1e-12) << c.name;
    }
}

LidTally tally_of(std::initializer_list<std::tuple<const char*, int32_t, int32_t>> rows) {
    LidTally tally;
    for (const auto& [code, score, count] : rows) {
        tally[code].score = score;
        tally[code].count = count;
    }
    return tally;
}

TEST(LidRanking, RanksByScoreTimesCountOverTotal) {
    // DE 40 x 3 / 4 = 30, EN 30 x 1 / 4 = 7.5: margin 0.75.
    ProbabilityResult result =
        get_probability(tally_of({{"DE", 40, 3}, {"EN", 30, 1}}), 4, default_condition);
    EXPECT_EQ(result.language, "DE");
    EXPECT_DOUBLE_EQ(result.probability, 0.75);

    // Equal probabilities keep code order, and the margin 0 decides nothing.
    result = get_probability(tally_of({{"FR", 10, 1}, {"ES", 10, 1}}), 2, default_condition);
    EXPECT_EQ(result.language, "");
    EXPECT_EQ(result.probability, 0);
}

TEST(LidRanking, EdgesOfTheList) {
    EXPECT_EQ(get_probability({}, 0, default_condition).language, "");
    // One entry wins with 1.0 whatever its size, without asking the rule.
    const ProbabilityResult single = get_probability(tally_of({{"TH", 5, 1}}), 100, nullptr);
    EXPECT_EQ(single.language, "TH");
    EXPECT_EQ(single.probability, 1.0);
    EXPECT_THROW(get_probability(tally_of({{"DE", 1, 1}, {"EN", 1, 1}}), 2, nullptr),
                 std::bad_function_call);
}

TEST(LidRanking, RuleAnswersAreHonouredOnlyWhenSound) {
    const LidTally tally = tally_of({{"DE", 40, 3}, {"EN", 30, 1}});
    struct Case {
        int index;
        double out;
        const char* language;
        double probability;
    } cases[] = {
        {-1, 0.2, "", 0.2},  // no decision keeps the reported value
        {1, 0.4, "EN", 0.4}, // the second may win
        {0, 0, "", 0},       // a zero probability is no win
        {2, 0.5, "", 0},     // an index past the list is no win
    };
    for (const Case& c : cases) {
        const DecisionRule rule = [&](int, const LidTallyEntry&, const LidTallyEntry&,
                                      double& out) {
            out = c.out;
            return c.index;
        };
        const ProbabilityResult result = get_probability(tally, 4, rule);
        EXPECT_EQ(result.language, c.language) << c.index;
        EXPECT_EQ(result.probability, c.probability) << c.index;
    }
}

TEST(LidTallyVotes, SumsSaturateInsteadOfWrapping) {
    LidLanguageData data;
    add_vote(data, 40);
    add_vote(data, 2);
    EXPECT_EQ(data.score, 42);
    EXPECT_EQ(data.count, 2);
    data.score = std::numeric_limits<int32_t>::max() - 1;
    add_vote(data, 1000);
    EXPECT_EQ(data.score, std::numeric_limits<int32_t>::max());
}

TEST(LidProbabilityResult, PrintsLanguageCommaProbability) {
    std::ostringstream stream;
    stream << ProbabilityResult{"DE", 0.5} << '|' << ProbabilityResult{};
    EXPECT_EQ(stream.str(), "DE,0.5|,0");
}

} // namespace
} // namespace dez::lid

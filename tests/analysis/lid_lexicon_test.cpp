#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/lid_lexicon.h"
#include "core-afst/afst.h"
#include "core-afst/word_lookup.h"
#include "engine/load_afst.h"
#include "tests/analysis/lid_fixture.h"
#include "tests/core-afst/lexicon_fixture.h"

namespace dez::lid {
namespace {

using fixture::VoteArc;

// The votes WordLookup's outputs stand for, as the identifier reads them.
std::vector<std::string> votes_of(const std::vector<std::string>& outputs) {
    std::vector<std::string> votes;
    for (const std::string& output : outputs) {
        int64_t score = 0;
        if (parse_vote(output, score))
            votes.push_back(output.substr(0, 2) + std::to_string(score));
    }
    return votes;
}

std::vector<std::string> votes_of(const LidWordTable::Votes& found) {
    std::vector<std::string> votes;
    for (const LidVote* vote = found.begin; vote != found.end; ++vote)
        votes.push_back(std::string(vote->code, 2) + std::to_string(vote->score));
    return votes;
}

TEST(LidWordTable, AnswersAsTheWordLookupForPlainWordLists) {
    const fixture::Votes votes = fixture::lexicon_file("small_lexicon.txt");
    const std::vector<std::string> words = {"und", "un",     "unde", "de",  "der",  "die",
                                            "la",  "le",     "les",  "z.b", "übÉr", "kurz",
                                            "neg", "riesig", "xyz",  "",    "d",    "ü"};
    dez::pipeline::fixture::TempTree tree;
    // Votes on an arc that reads nothing need the general walk: no table.
    fixture::write_lid_fst(tree.root / "general.fst", votes, VoteArc::empty_input);
    EXPECT_EQ(LidWordTable::of(dez::trelix::load_afst((tree.root / "general.fst").string())),
              nullptr);

    fixture::write_lid_fst(tree.root / "plain.fst", votes, VoteArc::last_character);
    const auto lexicon = dez::trelix::load_afst((tree.root / "plain.fst").string());
    const auto table = LidWordTable::of(lexicon);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(LidWordTable::of(lexicon), table); // shared by every store
    dez::afst::WordLookup reference(lexicon, nullptr);
    for (const std::string& word : words) {
        const std::vector<std::string> outputs = reference.up(word);
        const LidWordTable::Votes found = table->find(word);
        ASSERT_EQ(found.known, !outputs.empty()) << word;
        EXPECT_EQ(votes_of(found), votes_of(outputs)) << word;
    }
    // Known words whose outputs are all unsound have no votes.
    EXPECT_TRUE(table->find("kurz").known);
    EXPECT_EQ(table->find("kurz").begin, table->find("kurz").end);
    EXPECT_EQ(votes_of(table->find("la")), (std::vector<std::string>{"ES20", "FR20"}));
}

TEST(LidWordTable, CyclicNetworksAreWalked) {
    afst_test::HandNetwork network;
    const int start = network.add_state();
    const int end = network.add_state(true);
    network.start(start);
    network.arc(start, end, "a", "DE5");
    network.arc(end, end, "a", "eps");
    const auto lexicon = std::make_shared<dez::afst::AFst>(network.done());
    EXPECT_EQ(LidWordTable::of(lexicon), nullptr);
}

TEST(LidVotes, SoundOutputsOnly) {
    struct {
        const char* output;
        bool sound;
        int64_t score;
    } cases[] = {
        {"DE40", true, 40},
        {"DE", true, 0},
        {"DEx", true, 0},
        {"DE 7", true, 7},
        {"D", false, 0},
        {"", false, 0},
        {"DE-5", false, 0},
        {"DE2147483647", true, 2147483647},
        {"DE2147483648", false, 0},
        {"DE99999999999999999999", false, 0},
    };
    for (const auto& c : cases) {
        int64_t score = -1;
        EXPECT_EQ(parse_vote(c.output, score), c.sound) << c.output;
        if (c.sound) {
            EXPECT_EQ(score, c.score) << c.output;
        }
    }
}

} // namespace
} // namespace dez::lid

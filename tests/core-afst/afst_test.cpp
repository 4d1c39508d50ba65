#include "core-afst/afst.h"

#include "lexicon_fixture.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using dez::afst::AFst;

TEST(AFst, CopiesTheSymbolTextsAndFinalFlags) {
    const auto network = afst_test::load_lexicon("words.txt");
    const AFst afst(network);
    EXPECT_EQ(afst.transducer(), network);
    ASSERT_EQ(afst.input_texts().size(), network->InputSymbols()->NumSymbols());
    ASSERT_EQ(afst.output_texts().size(), network->OutputSymbols()->NumSymbols());
    EXPECT_EQ(afst.input_texts()[0], "eps");
    EXPECT_EQ(afst.input_texts()[1], "EPS");
    EXPECT_EQ(afst.output_texts()[0], "eps");
    for (std::size_t id = 0; id < afst.output_texts().size(); ++id)
        EXPECT_EQ(afst.output_texts()[id], network->OutputSymbols()->Find(id));
    ASSERT_EQ(afst.final_flags().size(), static_cast<std::size_t>(network->NumStates()));
    int finals = 0;
    for (int s = 0; s < network->NumStates(); ++s) {
        EXPECT_EQ(afst.is_final(s), network->Final(s) != fst::TropicalWeight::Zero());
        finals += afst.is_final(s);
    }
    EXPECT_GT(finals, 0);
    EXPECT_FALSE(afst.is_final(-1));
    EXPECT_FALSE(afst.is_final(network->NumStates()));
}

TEST(AFst, HoledTableGivesEmptyTexts) {
    afst_test::HandNetwork hand;
    hand.start(hand.add_state(true));
    auto network = hand.done();
    fst::SymbolTable lower("lower");
    lower.AddSymbol("eps", 0);
    lower.AddSymbol("x", 2);
    network->SetInputSymbols(&lower);
    const AFst afst(network);
    EXPECT_EQ(afst.input_texts(), (std::vector<std::string>{"eps", ""}));
}

TEST(AFst, RefusesTransducersWithoutTables) {
    EXPECT_THROW(AFst(nullptr), std::invalid_argument);
    auto bare = std::make_shared<fst::StdVectorFst>();
    EXPECT_THROW(AFst{bare}, std::invalid_argument);
    afst_test::HandNetwork hand;
    auto lower_only = hand.done();
    lower_only->SetOutputSymbols(nullptr);
    EXPECT_THROW(AFst{lower_only}, std::invalid_argument);
}

} // namespace

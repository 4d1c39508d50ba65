#include "core-afst/afst.h"

#include "lexicon_fixture.h"

#include <gtest/gtest.h>

#include <fst/equal.h>

#include <memory>
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

// The walk form holds all the network says: the AFst lets the network go
// when nobody else holds it, and rebuilds it on request, arcs in stored
// order, weights, final weights, tables and properties included.
TEST(AFst, KeepsNoSecondCopyOfTheNetworkAndRebuildsItOnRequest) {
    afst_test::HandNetwork hand;
    const int s0 = hand.add_state(), s1 = hand.add_state(true), s2 = hand.add_state();
    hand.start(s0);
    hand.arc(s0, s1, "b", "B");
    hand.arc(s0, s2, "eps", "x");
    hand.arc(s0, s1, "a", "A");
    hand.raw_arc(s2, s1, 99, 77); // labels the tables do not hold
    hand.arc(s2, s0, "#mark", "eps");
    auto network = hand.done();
    network->SetFinal(s2, fst::TropicalWeight(2.5));
    network->AddArc(s1, fst::StdArc(2, 2, fst::TropicalWeight(0.5), s0));
    network->AddArc(s1, fst::StdArc(3, 3, fst::TropicalWeight::One(), 7)); // no such state
    const fst::StdVectorFst copy(*network);

    std::weak_ptr<fst::StdVectorFst> watch = network;
    const AFst afst(std::move(network));
    EXPECT_TRUE(watch.expired());
    EXPECT_EQ(afst.state_count(), 3u);

    const auto& rebuilt = afst.transducer();
    ASSERT_TRUE(rebuilt);
    EXPECT_EQ(afst.transducer(), rebuilt);
    EXPECT_TRUE(fst::Equal(*rebuilt, copy, 0.0f));
    EXPECT_EQ(rebuilt->Properties(fst::kFstProperties, false),
              copy.Properties(fst::kFstProperties, false));
    ASSERT_TRUE(rebuilt->InputSymbols() && rebuilt->OutputSymbols());
    EXPECT_EQ(rebuilt->InputSymbols()->Find("#mark"), copy.InputSymbols()->Find("#mark"));
    EXPECT_EQ(rebuilt->OutputSymbols()->NumSymbols(), copy.OutputSymbols()->NumSymbols());
    for (int s = 0; s < copy.NumStates(); ++s) {
        ASSERT_EQ(rebuilt->NumArcs(s), copy.NumArcs(s));
        fst::ArcIterator<fst::StdVectorFst> a(*rebuilt, s), b(copy, s);
        for (; !a.Done(); a.Next(), b.Next())
            EXPECT_EQ(a.Value().nextstate, b.Value().nextstate);
    }
}

TEST(AFst, HandsBackTheNetworkSomeoneElseHolds) {
    const auto network = afst_test::load_lexicon("words.txt");
    const AFst afst(network);
    EXPECT_EQ(afst.transducer(), network);
}

} // namespace

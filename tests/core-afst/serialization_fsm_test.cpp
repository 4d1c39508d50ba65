#include "core-afst/serialization.h"

#include "core-afst/builder.h"
#include "foundation/exception.h"
#include "network_paths.h"

#include <gtest/gtest.h>

#include <fst/vector-fst.h>
#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace {

namespace fs = std::filesystem;
namespace ser = dez::afst::serialization;
using Network = fst::VectorFst<fst::StdArc>;

// Every arc as "state:input-text:output-text:next", plus the final states:
// two networks with equal listings spell the same paths with the same symbols.
std::vector<std::string> listing(const Network& network) {
    std::vector<std::string> lines;
    for (Network::StateId s = 0; s < network.NumStates(); ++s) {
        if (network.Final(s) != fst::StdArc::Weight::Zero())
            lines.push_back("final " + std::to_string(s));
        for (fst::ArcIterator<Network> it(network, s); !it.Done(); it.Next()) {
            const auto& arc = it.Value();
            lines.push_back(std::to_string(s) + ":" + network.InputSymbols()->Find(arc.ilabel) +
                            ":" + network.OutputSymbols()->Find(arc.olabel) + ":" +
                            std::to_string(arc.nextstate));
        }
    }
    return lines;
}

// a:x b:eps as a two-arc network with "lower" and "upper" tables.
Network sample() {
    fst::SymbolTable lower("lower"), upper("upper");
    for (auto* table : {&lower, &upper}) {
        table->AddSymbol("eps");
        table->AddSymbol("EPS");
    }
    Network network;
    network.AddState();
    network.AddState();
    network.AddState();
    network.SetStart(0);
    network.AddArc(0, fst::StdArc(lower.AddSymbol("a"), upper.AddSymbol("x"), 0, 1));
    network.AddArc(1, fst::StdArc(lower.AddSymbol("b"), 0, 0, 2));
    network.SetFinal(2, 0);
    network.SetInputSymbols(&lower);
    network.SetOutputSymbols(&upper);
    return network;
}

class TransducerRowTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = fs::temp_directory_path() /
              ("trelix_fsm_rows_" + std::to_string(::getpid()) + "_" + info->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        db = ser::open_file(dir / "store.dom");
        ASSERT_TRUE(ser::create_cbf_table(db.get()));
    }
    void TearDown() override {
        db.reset();
        fs::remove_all(dir);
    }

    fs::path dir;
    std::shared_ptr<sqlite3> db;
};

TEST_F(TransducerRowTest, NetworkAndAttributesRoundTrip) {
    const Network network = sample();
    ser::store_fsm(network, db, "entities_stem", "input=stem;mode=x");

    const auto [attributes, loaded] = ser::get_fsm_attr(db, "entities_stem");
    EXPECT_EQ(attributes, "input=stem;mode=x");
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(listing(*loaded), listing(network));
    EXPECT_EQ(loaded->InputSymbols()->Name(), "lower");
    EXPECT_EQ(loaded->OutputSymbols()->Name(), "upper");

    const auto plain = ser::get_fsm(db, "entities_stem");
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(listing(*plain), listing(network));
}

// The blob is OpenFst's serialized form and nothing else.
TEST_F(TransducerRowTest, PayloadIsTheLibrarysOwnForm) {
    const Network network = sample();
    ser::store_fsm(network, db, "n", "");
    std::ostringstream expected;
    ASSERT_TRUE(network.Write(expected, fst::FstWriteOptions()));
    const auto row = ser::get_binary_data(db.get(), "n");
    EXPECT_EQ(std::string(row.second.begin(), row.second.end()), expected.str());
}

TEST_F(TransducerRowTest, MissingOrBrokenRowsGiveNoNetwork) {
    const std::string garbage = "not a transducer at all";
    ser::store_binary_data(db.get(), "broken", "a=1", garbage.data(), garbage.size());
    // A truncated network is a broken payload as well.
    std::ostringstream whole;
    ASSERT_TRUE(sample().Write(whole, fst::FstWriteOptions()));
    const std::string cut = whole.str().substr(0, whole.str().size() / 2);
    ser::store_binary_data(db.get(), "cut", "", cut.data(), cut.size());

    ::testing::internal::CaptureStderr(); // OpenFst logs its read errors
    EXPECT_EQ(ser::get_fsm(db, "broken"), nullptr);
    EXPECT_EQ(ser::get_fsm(db, "cut"), nullptr);
    const auto [attributes, network] = ser::get_fsm_attr(db, "broken");
    ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(attributes, "a=1");
    EXPECT_EQ(network, nullptr);

    EXPECT_EQ(ser::get_fsm(db, "missing"), nullptr);
    const auto [none_attributes, none] = ser::get_fsm_attr(db, "missing");
    EXPECT_EQ(none_attributes, "");
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(ser::get_fsm(nullptr, "missing"), nullptr);
}

// A lexicon of two entries, a:x b and c, as the lexicon build stores it.
std::shared_ptr<dez::afst::Builder> two_entries() {
    auto builder = std::make_shared<dez::afst::Builder>();
    builder->open_rule();
    builder->pushArc("a", "x");
    builder->pushArc("b", "eps");
    builder->close_rule();
    builder->open_rule();
    builder->pushArc("c", "c");
    builder->close_rule();
    builder->applyUnion(0);
    return builder;
}

TEST_F(TransducerRowTest, BuilderNetworkAndAttributePairsRoundTrip) {
    const std::set<afst_test::Path> expected = {{"ab", "x"}, {"c", "c"}};
    ser::store_fsm(
        two_entries(), db, "entities_literal",
        std::vector<std::pair<std::string, std::string>>{{"input", "stem"}, {"mode", "x"}});
    const auto [attributes, network] = ser::get_fsm_attr(db, "entities_literal");
    EXPECT_EQ(attributes, "input=stem;mode=x");
    ASSERT_NE(network, nullptr);
    EXPECT_EQ(afst_test::paths(*network), expected);
    EXPECT_EQ(network->InputSymbols()->Name(), "lower");
    EXPECT_EQ(network->OutputSymbols()->Name(), "upper");

    ser::store_fsm(two_entries(), db, "token_encoder", "");
    const auto row = ser::get_fsm_attr(db, "token_encoder");
    EXPECT_EQ(row.first, "");
    ASSERT_NE(row.second, nullptr);
    EXPECT_EQ(afst_test::paths(*row.second), expected);
}

// The builder's write is what lands in the row, byte for byte.
TEST_F(TransducerRowTest, BuilderRowHoldsTheBuildersWrite) {
    auto builder = two_entries();
    ser::store_fsm(builder, db, "n", "a=1");
    std::ostringstream expected;
    two_entries()->write(expected);
    const auto row = ser::get_binary_data(db.get(), "n");
    EXPECT_EQ(std::string(row.second.begin(), row.second.end()), expected.str());
}

TEST_F(TransducerRowTest, PairsThatCannotBeReadBackAreNotStored) {
    EXPECT_THROW(ser::store_fsm(two_entries(), db, "bad",
                                std::vector<std::pair<std::string, std::string>>{{"k", "a;b"}}),
                 dez::Exception);
    EXPECT_FALSE(ser::has_binary_data(db.get(), "bad"));
}

} // namespace

#include "core-afst/serialization.h"

#include "container_fixture.h"
#include "core-afst/builder.h"
#include "core-afst/serialization_fsm_check.h"
#include "foundation/exception.h"
#include "network_paths.h"

#include <gtest/gtest.h>

#include <fst/properties.h>
#include <fst/vector-fst.h>
#include <fst/verify.h>
#include <sqlite3.h>
#include <sys/resource.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace {

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

using TransducerRowTest = afst_test::ContainerFixture;

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

// The parts of a stored transducer in OpenFst's layout, so that a case can
// spoil exactly one of them. The defaults spell sample() as OpenFst writes it.
struct Payload {
    struct Table {
        int32_t magic = 2125658996;
        std::string name;
        int64_t next_key = 0;
        std::optional<int64_t> count; // the number of symbols unless set
        std::vector<std::pair<std::string, int64_t>> symbols;
    };
    struct Arc {
        int32_t input, output;
        float weight;
        int32_t target;
    };
    struct State {
        float final_weight;
        std::vector<Arc> arcs;
        std::optional<int64_t> arc_count; // the number of arcs unless set
    };

    int32_t magic = 2125659606;
    std::string type = "vector";
    std::string arc_type = "standard";
    int32_t version = 2;
    uint32_t flags = 3; // both symbol tables
    uint64_t properties = sample_properties();
    int64_t start = 0;
    std::optional<int64_t> state_count; // the number of states unless set
    int64_t arc_count = 0;              // not read
    Table input{2125658996, "lower", 4, {}, {{"eps", 0}, {"EPS", 1}, {"a", 2}, {"b", 3}}};
    Table output{2125658996, "upper", 3, {}, {{"eps", 0}, {"EPS", 1}, {"x", 2}}};
    std::vector<State> states = {
        {kInfinity, {{2, 2, 0, 1}}, {}}, {kInfinity, {{3, 0, 0, 2}}, {}}, {0, {}, {}}};
    std::string tail;

    static constexpr float kInfinity = std::numeric_limits<float>::infinity();

    static uint64_t sample_properties() {
        return sample().Properties(fst::kCopyProperties, false) | fst::kExpanded | fst::kMutable;
    }

    std::string bytes() const {
        std::string out;
        auto put = [&](const auto& value) {
            out.append(reinterpret_cast<const char*>(&value), sizeof(value));
        };
        auto put_text = [&](const std::string& text) {
            put(static_cast<int32_t>(text.size()));
            out += text;
        };
        put(magic);
        put_text(type);
        put_text(arc_type);
        put(version);
        put(flags);
        put(properties);
        put(start);
        put(state_count.value_or(static_cast<int64_t>(states.size())));
        put(arc_count);
        for (const Table* table : {&input, &output}) {
            put(table->magic);
            put_text(table->name);
            put(table->next_key);
            put(table->count.value_or(static_cast<int64_t>(table->symbols.size())));
            for (const auto& [symbol, key] : table->symbols) {
                put_text(symbol);
                put(key);
            }
        }
        for (const State& state : states) {
            put(state.final_weight);
            put(state.arc_count.value_or(static_cast<int64_t>(state.arcs.size())));
            for (const Arc& arc : state.arcs) {
                put(arc.input);
                put(arc.output);
                put(arc.weight);
                put(arc.target);
            }
        }
        return out + tail;
    }
};

TEST(TransducerPayload, FixtureSpellsTheLibrarysForm) {
    std::ostringstream written;
    ASSERT_TRUE(sample().Write(written, fst::FstWriteOptions()));
    EXPECT_EQ(Payload().bytes(), written.str());
    EXPECT_EQ(ser::check_fsm_payload(written.str().data(), written.str().size()), "");
}

// Peak resident memory of the process, in kilobytes.
long peak_memory() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// A corrupt row gives no network at once: OpenFst never sees counts or
// lengths that the payload cannot hold, so it neither loops over missing
// bytes nor reserves room for them.
TEST_F(TransducerRowTest, CorruptPayloadsAreRefused) {
    static constexpr int64_t huge = int64_t(1) << 40;
    static constexpr float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        const char* name;
        std::function<void(Payload&)> spoil;
    };
    const Case cases[] = {
        {"magic", [](Payload& p) { p.magic ^= 1; }},
        {"type", [](Payload& p) { p.type = "const"; }},
        {"arc type", [](Payload& p) { p.arc_type = "log"; }},
        {"version", [](Payload& p) { p.version = 1; }},
        {"flags", [](Payload& p) { p.flags |= 0x10; }},
        {"error property", [](Payload& p) { p.properties |= fst::kError; }},
        {"contradiction", [](Payload& p) { p.properties |= fst::kAcceptor | fst::kNotAcceptor; }},
        {"unknown property", [](Payload& p) { p.properties |= 0x100; }},
        {"huge state count", [](Payload& p) { p.state_count = huge; }},
        {"state count past the data", [](Payload& p) { p.state_count = 200; }},
        {"negative state count", [](Payload& p) { p.state_count = -5; }},
        {"fewer states than stored", [](Payload& p) { p.state_count = 2; }},
        {"symbol table magic", [](Payload& p) { p.output.magic = 0; }},
        {"huge symbol count", [](Payload& p) { p.input.count = huge; }},
        {"negative symbol count", [](Payload& p) { p.input.count = -1; }},
        {"huge symbol key", [](Payload& p) { p.input.symbols[2].second = INT64_MAX; }},
        {"negative symbol key", [](Payload& p) { p.input.symbols[2].second = -7; }},
        {"huge next key", [](Payload& p) { p.output.next_key = INT64_MAX; }},
        {"huge arc count", [](Payload& p) { p.states[0].arc_count = huge; }},
        {"negative arc count", [](Payload& p) { p.states[0].arc_count = -1; }},
        {"arc to a missing state", [](Payload& p) { p.states[0].arcs[0].target = 3; }},
        {"arc to a negative state", [](Payload& p) { p.states[0].arcs[0].target = -1; }},
        {"negative label", [](Payload& p) { p.states[1].arcs[0].output = -2; }},
        {"NaN arc weight", [](Payload& p) { p.states[0].arcs[0].weight = nan; }},
        {"NaN final weight", [](Payload& p) { p.states[2].final_weight = nan; }},
        {"minus infinity", [](Payload& p) { p.states[2].final_weight = -Payload::kInfinity; }},
        {"start past the states", [](Payload& p) { p.start = 3; }},
        {"start below -1", [](Payload& p) { p.start = -2; }},
        {"states but no start", [](Payload& p) { p.start = -1; }},
        {"bytes after the states", [](Payload& p) { p.tail = "x"; }},
    };
    std::vector<std::pair<std::string, std::string>> rows = {
        // The magic number, then a type name said to be 2 GB long.
        {"eight bytes", std::string("\xd6\xfd\xb2\x7e\xd6\xfd\xb2\x7e", 8)},
    };
    for (const Case& c : cases) {
        Payload payload;
        c.spoil(payload);
        rows.emplace_back(c.name, payload.bytes());
    }
    for (const auto& [name, bytes] : rows)
        ser::store_binary_data(db.get(), name, "", bytes.data(), bytes.size());

    const long memory_before = peak_memory();
    ::testing::internal::CaptureStderr();
    for (const auto& [name, bytes] : rows) {
        EXPECT_NE(ser::check_fsm_payload(bytes.data(), bytes.size()), "") << name;
        EXPECT_EQ(ser::get_fsm(db, name), nullptr) << name;
    }
    const std::string log = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(log.find("get_fsm: corrupt transducer"), std::string::npos) << log;
    EXPECT_LT(peak_memory() - memory_before, 64 * 1024) << "kilobytes";
}

// A few words with tags, built and written as the lexicon build does.
std::shared_ptr<dez::afst::Builder> words_lexicon() {
    auto builder = std::make_shared<dez::afst::Builder>();
    for (const char* word : {"arbeit", "amt", "haus", "tor", "torhaus", "stau", "staub", "becken",
                             "ecke", "bau", "sand", "wald", "zeit"}) {
        builder->open_rule();
        for (const char* c = word; *c != '\0'; ++c)
            builder->pushArc(std::string(1, *c));
        builder->pushArc("eps", word[0] < 'm' ? "+N" : "+Adj");
        builder->close_rule();
    }
    builder->applyUnion(0);
    return builder;
}

// Structure that every network get_fsm hands out must have, whatever the row
// held: a start and arcs that lead to existing states, labels that are not
// negative, weights that are members of the semiring.
bool well_formed(const Network& network) {
    Network bare(network);
    // Labels missing from a table read as empty texts; only the structure
    // is checked here.
    bare.SetInputSymbols(nullptr);
    bare.SetOutputSymbols(nullptr);
    return fst::Verify(bare);
}

// Rare forms OpenFst writes or reads are not taken for damage.
TEST_F(TransducerRowTest, UnusualSoundPayloadsAreRead) {
    struct Case {
        const char* name;
        std::function<void(Payload&)> change;
        int states;
    };
    const Case cases[] = {
        {"no states and no start",
         [](Payload& p) {
             p.states.clear();
             p.start = -1;
         },
         0},
        // a writer that could not count the states first
        {"unknown state count", [](Payload& p) { p.state_count = -1; }, 3},
        {"later version", [](Payload& p) { p.version = 3; }, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Payload payload;
        c.change(payload);
        const std::string bytes = payload.bytes();
        ser::store_binary_data(db.get(), c.name, "", bytes.data(), bytes.size());
        const auto network = ser::get_fsm(db, c.name);
        ASSERT_NE(network, nullptr);
        EXPECT_EQ(network->NumStates(), c.states);
        EXPECT_TRUE(well_formed(*network));
    }
}

// A header may claim what the arcs deny (sample() is no acceptor, a:x);
// OpenFst's algorithms would trust the claim, so a loaded network answers
// from its arcs.
TEST_F(TransducerRowTest, PropertyClaimsOfTheRowAreNotTrusted) {
    Payload payload;
    payload.properties = (payload.properties & ~fst::kNotAcceptor) | fst::kAcceptor;
    const std::string bytes = payload.bytes();
    ser::store_binary_data(db.get(), "claims", "", bytes.data(), bytes.size());
    const auto network = ser::get_fsm(db, "claims");
    ASSERT_NE(network, nullptr);
    EXPECT_EQ(network->Properties(fst::kAcceptor | fst::kNotAcceptor, true), fst::kNotAcceptor);
}

// Truncations and bit flips of a real stored transducer: each read ends
// quickly with no network or a well-formed one, and never crashes.
TEST_F(TransducerRowTest, DamagedRowsNeverGiveABrokenNetwork) {
    std::ostringstream stream;
    words_lexicon()->write(stream);
    const std::string whole = stream.str();
    ASSERT_EQ(ser::check_fsm_payload(whole.data(), whole.size()), "");

    std::mt19937 random(20240611);
    std::vector<std::string> damaged;
    for (int i = 0; i < 1500; ++i) {
        std::string bytes = whole;
        const int kind = i % 3; // cut, flip, both
        if (kind != 1)
            bytes.resize(random() % bytes.size());
        if (kind != 0 && !bytes.empty())
            for (int flips = 1 + random() % 3; flips > 0; --flips)
                bytes[random() % bytes.size()] ^= static_cast<char>(1u << (random() % 8));
        damaged.push_back(std::move(bytes));
    }
    {
        ser::Transaction transaction(db.get());
        for (std::size_t i = 0; i < damaged.size(); ++i)
            ser::store_binary_data(db.get(), std::to_string(i), "", damaged[i].data(),
                                   damaged[i].size());
        transaction.commit();
    }

    int read = 0;
    ::testing::internal::CaptureStderr();
    for (std::size_t i = 0; i < damaged.size(); ++i) {
        const auto network = ser::get_fsm(db, std::to_string(i));
        if (!network)
            continue;
        ++read;
        EXPECT_TRUE(well_formed(*network)) << "damage " << i;
    }
    ::testing::internal::GetCapturedStderr();
    // Flips inside symbol texts or weights still read; most damage does not.
    EXPECT_GT(read, 0);
    EXPECT_LT(read, static_cast<int>(damaged.size()) / 2);
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

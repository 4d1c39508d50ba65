// The lexicon build's networks against the general algorithms: whatever
// shortcuts the builder takes for entries, unions and lexicons, the written
// network must be the one that a plain union, epsilon removal,
// determinisation and minimisation over label pairs give.
#include "core-afst/builder.h"
#include "core-afst/builder_algorithms.h"
#include "core-afst/word_lookup.h"

#include <gtest/gtest.h>

#include <fst/arcsort.h>
#include <fst/encode.h>
#include <fst/equal.h>
#include <fst/minimize.h>
#include <fst/statesort.h>
#include <fst/vector-fst.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using Network = fst::StdVectorFst;
using Arc = fst::StdArc;
namespace fs = std::filesystem;

struct Entry {
    std::string surface;
    std::string lemma;
    std::string tag;
};

// Words that share prefixes and suffixes, some with several readings, some
// whose lemma differs from the surface.
std::vector<Entry> entries(unsigned seed, int count) {
    static const char* const syllables[] = {"ka", "lo", "mi", "ter", "an", "s", "pre", "do"};
    static const char* const suffixes[] = {"", "s", "ed", "ing", "er"};
    static const char* const tags[] = {"+Nn-Sg", "+Nn-Pl", "+V-Past", "+V-Prog", "+Adj"};
    std::mt19937 random(seed);
    std::vector<Entry> result;
    while (static_cast<int>(result.size()) < count) {
        std::string lemma;
        for (int n = 1 + static_cast<int>(random() % 3); n > 0; --n)
            lemma += syllables[random() % 8];
        const std::string surface = lemma + suffixes[random() % 5];
        result.push_back({surface, random() % 3 ? lemma : surface, tags[random() % 5]});
        if (random() % 4 == 0)
            result.push_back({surface, lemma, tags[random() % 5]});
    }
    return result;
}

// The pairs of a raw line "surface:lemma[+Tag]", position by position.
std::vector<std::pair<std::string, std::string>> pairs_of(const Entry& entry) {
    std::vector<std::pair<std::string, std::string>> pairs;
    const std::size_t length = std::max(entry.surface.size(), entry.lemma.size() + 1);
    for (std::size_t i = 0; i < length; ++i)
        pairs.emplace_back(
            i < entry.surface.size() ? std::string(1, entry.surface[i]) : "eps",
            i < entry.lemma.size() ? std::string(1, entry.lemma[i])
                                   : (i == entry.lemma.size() ? entry.tag : "eps"));
    return pairs;
}

// The lexicon build's steps: an entry per rule, built at once; buckets
// unioned, built and saved; the files read, unioned and written.
std::shared_ptr<Network> lexicon_build(const std::vector<Entry>& lexicon, std::size_t bucket) {
    const fs::path dir = fs::temp_directory_path() /
                         ("afst_equivalence_" + std::to_string(::getpid()) + "_" +
                          ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir);
    std::vector<std::string> files;
    dez::afst::Builder builder;
    for (std::size_t begin = 0; begin < lexicon.size(); begin += bucket) {
        for (std::size_t i = begin; i < std::min(lexicon.size(), begin + bucket); ++i) {
            builder.open_rule();
            for (const auto& pair : pairs_of(lexicon[i]))
                builder.pushArc(pair.first, pair.second);
            builder.close_rule();
            builder.build(false);
        }
        builder.applyUnion(0);
        builder.build(false);
        files.push_back((dir / ("bucket" + std::to_string(files.size()))).string());
        builder.save(files.back());
        builder.clear();
    }
    dez::afst::Builder reader;
    for (const auto& file : files)
        reader.read(file);
    reader.applyUnion(0);
    std::stringstream stream;
    reader.write(stream);
    fs::remove_all(dir);
    return std::shared_ptr<Network>(Network::Read(stream, fst::FstReadOptions("lexicon")));
}

// The same language through the general algorithms alone, in the tables of
// `tables`: a plain epsilon union of the entries' paths, OpenFst's epsilon
// removal and determinisation over label pairs (the builder's general path,
// taken for any network that is not deterministic yet) and OpenFst's
// minimisation over label pairs.
std::shared_ptr<Network> reference(const std::vector<Entry>& lexicon, const Network& tables) {
    Network plain;
    plain.SetStart(plain.AddState());
    for (const auto& entry : lexicon) {
        auto state = plain.AddState();
        plain.AddArc(plain.Start(), Arc(0, 0, fst::TropicalWeight::One(), state));
        for (const auto& pair : pairs_of(entry)) {
            const auto next = plain.AddState();
            plain.AddArc(state, Arc(static_cast<int>(tables.InputSymbols()->Find(pair.first)),
                                    static_cast<int>(tables.OutputSymbols()->Find(pair.second)),
                                    fst::TropicalWeight::One(), next));
            state = next;
        }
        plain.SetFinal(state, fst::TropicalWeight::One());
    }
    dez::afst::detail::remove_epsilon(plain);
    auto result = std::make_shared<Network>();
    dez::afst::detail::determinize_into(plain, *result);
    fst::EncodeMapper<Arc> encoder(fst::kEncodeLabels, fst::ENCODE);
    fst::Encode(result.get(), &encoder);
    fst::Minimize(result.get());
    fst::Decode(result.get(), encoder);
    result->SetInputSymbols(tables.InputSymbols());
    result->SetOutputSymbols(tables.OutputSymbols());
    return result;
}

struct PairCompare {
    bool operator()(const Arc& a, const Arc& b) const {
        return std::tie(a.ilabel, a.olabel) < std::tie(b.ilabel, b.olabel);
    }
    uint64_t Properties(uint64_t props) const {
        return (props & fst::kArcSortProperties) | fst::kILabelSorted |
               (props & fst::kAcceptor ? fst::kOLabelSorted : 0);
    }
};

// States numbered breadth-first, arcs sorted by label pair: two networks
// that differ only in the numbering of their states become Equal.
Network canonical(const Network& network) {
    Network result(network);
    fst::ArcSort(&result, PairCompare());
    std::vector<Arc::StateId> order(static_cast<std::size_t>(result.NumStates()), fst::kNoStateId);
    std::vector<Arc::StateId> queue = {result.Start()};
    order[static_cast<std::size_t>(result.Start())] = 0;
    for (std::size_t i = 0; i < queue.size(); ++i)
        for (fst::ArcIterator<Network> it(result, queue[i]); !it.Done(); it.Next())
            if (order[static_cast<std::size_t>(it.Value().nextstate)] == fst::kNoStateId) {
                order[static_cast<std::size_t>(it.Value().nextstate)] =
                    static_cast<Arc::StateId>(queue.size());
                queue.push_back(it.Value().nextstate);
            }
    EXPECT_EQ(queue.size(), order.size()) << "unreachable states";
    fst::StateSort(&result, order);
    return result;
}

TEST(BuilderEquivalence, LexiconBuildEqualsTheGeneralAlgorithms) {
    struct Case {
        unsigned seed;
        int entries;
        std::size_t bucket;
    };
    const Case cases[] = {{1, 1500, 200}, {2, 700, 700}, {3, 400, 1}};
    for (const auto& c : cases) {
        const auto lexicon = entries(c.seed, c.entries);
        const auto built = lexicon_build(lexicon, c.bucket);
        ASSERT_TRUE(built);
        const auto expected = reference(lexicon, *built);
        EXPECT_EQ(built->NumStates(), expected->NumStates()) << c.seed;
        EXPECT_TRUE(fst::Equal(canonical(*built), canonical(*expected))) << c.seed;

        dez::afst::WordLookup built_lookup(built, nullptr);
        dez::afst::WordLookup expected_lookup(expected, nullptr);
        for (const auto& entry : lexicon) {
            const auto analyses = built_lookup.up(entry.surface);
            EXPECT_FALSE(analyses.empty()) << entry.surface;
            EXPECT_EQ(analyses, expected_lookup.up(entry.surface)) << entry.surface;
            const std::string other = entry.surface + "x";
            EXPECT_EQ(built_lookup.up(other), expected_lookup.up(other)) << other;
        }
    }
}

} // namespace

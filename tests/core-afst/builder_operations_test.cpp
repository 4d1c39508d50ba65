#include "core-afst/builder.h"

#include "error_of.h"
#include "network_paths.h"

#include <gtest/gtest.h>

#include <fst/properties.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using afst_test::error_of;
using afst_test::Path;
using afst_test::paths;
using dez::afst::Builder;
using dez::afst::merge_tables;
using Network = fst::StdVectorFst;
using Pairs = std::vector<std::pair<int, int>>;
namespace fs = std::filesystem;

afst_test::Tables tables(const Builder& builder) {
    return {builder.lower_table.get(), builder.upper_table.get()};
}

// One rule per word; each character an arc with the same output, the word's
// tag (if any) an extra output symbol.
void add_words(Builder& builder, const std::vector<std::pair<std::string, std::string>>& words) {
    for (const auto& word : words) {
        builder.open_rule();
        for (char c : word.first)
            builder.pushArc(std::string(1, c));
        if (!word.second.empty())
            builder.pushArc("eps", word.second);
        builder.close_rule();
    }
    builder.applyUnion(0);
}

// A group of members under one rule; each member a sequence of lower:upper arcs.
void add_group(Builder& builder,
               const std::vector<std::vector<std::pair<std::string, std::string>>>& members) {
    builder.open_rule();
    builder.open_group();
    for (std::size_t i = 0; i < members.size(); ++i) {
        if (i > 0)
            builder.separator("pair");
        for (const auto& arc : members[i])
            builder.pushArc(arc.first, arc.second);
        builder.set_final();
    }
}

class BuilderFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("afst_builder_" + std::to_string(getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string file(const std::string& name) const { return (dir_ / name).string(); }
    fs::path dir_;
};

TEST(BuilderMergeTables, FreshTablesMapToThemselves) {
    Builder target, source;
    EXPECT_EQ(merge_tables(target.lower_table.get(), source.lower_table.get()),
              (Pairs{{0, 0}, {1, 1}}));
    EXPECT_EQ(target.lower_table->NumSymbols(), 2u);
}

TEST(BuilderMergeTables, SourceOnlySymbolIsAdded) {
    Builder target, source;
    target.push_lower_lable("y");
    source.push_lower_lable("x");
    EXPECT_EQ(merge_tables(target.lower_table.get(), source.lower_table.get()),
              (Pairs{{0, 0}, {1, 1}, {2, 3}}));
    EXPECT_EQ(target.lower_table->Find("x"), 3);
    EXPECT_EQ(target.lower_table->Find("y"), 2);
}

TEST(BuilderMergeTables, SymbolsAfterAGapInKeysAreCarried) {
    fst::SymbolTable source("lower");
    source.AddSymbol("eps", 0);
    source.AddSymbol("EPS", 1);
    source.AddSymbol("p", 5);
    source.AddSymbol("q", 9);
    Builder target;
    target.push_lower_lable("q");
    EXPECT_EQ(merge_tables(target.lower_table.get(), &source),
              (Pairs{{0, 0}, {1, 1}, {5, 3}, {9, 2}}));
    EXPECT_EQ(merge_tables(target.lower_table.get(), nullptr), Pairs{});
}

TEST(BuilderPushNetwork, RelabelsIntoTheBuilderButLeavesTheCallersNetwork) {
    Builder other;
    add_words(other, {{"ab", "[+X]"}, {"ba", ""}});
    const auto network = other.simple_copy();
    const auto before = paths(*network);
    fst::ArcIterator<Network> first_arc(*network, network->Start());
    const int label_before = first_arc.Value().ilabel;

    Builder builder;
    builder.push_lable("z");
    builder.push_upper_lable("[+X]");
    auto* item = builder.push_network(network);
    EXPECT_EQ(builder.top, item);
    EXPECT_EQ(item->parent, builder.stack[0].get());
    EXPECT_NE(item->network, network);
    EXPECT_EQ(paths(*item->network), before);
    EXPECT_EQ(builder.lower_table->Find("a"), 3);
    EXPECT_EQ(builder.upper_table->Find("[+X]"), 3);

    // The other owner still sees its own labels and tables.
    EXPECT_EQ(paths(*network), before);
    fst::ArcIterator<Network> again(*network, network->Start());
    EXPECT_EQ(again.Value().ilabel, label_before);
    EXPECT_EQ(network->InputSymbols()->Find("a"), other.lower_table->Find("a"));
}

TEST(BuilderPushNetwork, InplaceAddsAChildOfTop) {
    Builder other;
    add_words(other, {{"c", ""}});
    Builder builder;
    builder.open_rule();
    auto* top = builder.top;
    builder.push_network_inplace(other.simple_copy());
    EXPECT_EQ(builder.top, top);
    ASSERT_EQ(top->children.size(), 1u);
    EXPECT_EQ(paths(*top->children[0]->network), (std::set<Path>{{"c", "c"}}));
}

TEST_F(BuilderFiles, SaveAndReadRoundTrip) {
    Builder builder;
    add_words(builder, {{"walk", "[+V-Inf]"}, {"walk", "[+Nn-Sg]"}, {"go", ""}});
    builder.build(false);
    const auto expected = paths(*builder.top->network);
    builder.save(file("a.fst"));
    builder.raw_save(file("b.fst"));

    Builder reader;
    reader.push_lable("unrelated");
    reader.read(file("a.fst"));
    reader.read(file("b.fst"));
    EXPECT_EQ(reader.stack[0]->children.size(), 2u);
    EXPECT_EQ(paths(*reader.top->network), expected);
    reader.applyUnion(0);
    EXPECT_EQ(paths(*reader.build(true)), expected);
}

TEST_F(BuilderFiles, FileErrors) {
    Builder builder;
    add_words(builder, {{"a", ""}});
    const std::string missing_dir = file("no/such/dir/x.fst");
    EXPECT_FALSE(builder.write(missing_dir));
    EXPECT_EQ(error_of([&] { builder.save(missing_dir); }),
              "Could not save the " + missing_dir + ".");
    EXPECT_EQ(error_of([&] { builder.raw_save(missing_dir); }),
              "Could not save the " + missing_dir + ".");

    EXPECT_FALSE(builder.read_fst(file("missing.fst")));
    EXPECT_FALSE(builder.read_fst(""));
    std::ofstream(file("garbage.fst")) << "this is not a transducer";
    const auto children = builder.stack[0]->children.size();
    EXPECT_EQ(error_of([&] { builder.read(file("garbage.fst")); }),
              "Could not read from stream. [" + file("garbage.fst") + "]");
    EXPECT_EQ(builder.stack[0]->children.size(), children);
}

TEST(BuilderWriteStream, EmptyRuleWritesOneFinalStateWithBothTables) {
    Builder builder;
    builder.open_rule();
    builder.close_rule();
    std::stringstream stream;
    builder.write(stream);
    std::unique_ptr<Network> read(Network::Read(stream, fst::FstReadOptions("test")));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->NumStates(), 1);
    EXPECT_NE(read->Final(read->Start()), fst::TropicalWeight::Zero());
    ASSERT_TRUE(read->InputSymbols());
    ASSERT_TRUE(read->OutputSymbols());
    EXPECT_EQ(read->InputSymbols()->Name(), "lower");
    EXPECT_EQ(read->OutputSymbols()->Name(), "upper");
    EXPECT_EQ(read->InputSymbols()->Find("EPS"), 1);
}

TEST(BuilderWriteStream, RoundTripKeepsPathsAndHeaderBits) {
    Builder builder;
    add_words(builder, {{"zb", "[+A]"}, {"ab", "[+B]"}, {"ab", "[+C]"}});
    std::stringstream stream;
    builder.write(stream);
    const auto expected = paths(*builder.top->network);
    EXPECT_EQ(expected, (std::set<Path>{{"zb", "zb[+A]"}, {"ab", "ab[+B]"}, {"ab", "ab[+C]"}}));
    std::unique_ptr<Network> read(Network::Read(stream, fst::FstReadOptions("test")));
    ASSERT_TRUE(read);
    EXPECT_EQ(paths(*read), expected);
    EXPECT_TRUE(read->Properties(fst::kILabelSorted, false));
    EXPECT_FALSE(read->Properties(fst::kAcceptor, false));
    EXPECT_TRUE(read->Properties(fst::kILabelSorted, true));

    // Writing builds again; the result is the same.
    std::stringstream second;
    builder.write(second);
    std::unique_ptr<Network> reread(Network::Read(second, fst::FstReadOptions("test")));
    EXPECT_EQ(paths(*reread), expected);
}

TEST(BuilderWriteStream, FailingStreamThrows) {
    Builder builder;
    add_words(builder, {{"a", ""}});
    std::stringstream stream;
    stream.setstate(std::ios::badbit);
    EXPECT_EQ(error_of([&] { builder.write(stream); }), "Could not save to stream.");
}

TEST(BuilderOptimisations, InvertSwapsTablesOnly) {
    Builder builder;
    add_words(builder, {{"a", "[+T]"}});
    const auto lower = builder.lower_table;
    const auto upper = builder.upper_table;
    const auto network = builder.top->network;
    fst::ArcIterator<Network> arcs(*network, network->Start());
    const auto arc = arcs.Value();
    builder.invert();
    EXPECT_EQ(builder.lower_table, upper);
    EXPECT_EQ(builder.upper_table, lower);
    builder.invert();
    EXPECT_EQ(builder.lower_table, lower);
    EXPECT_EQ(builder.upper_table, upper);
    fst::ArcIterator<Network> after(*builder.top->network, network->Start());
    EXPECT_EQ(after.Value().ilabel, arc.ilabel);
    EXPECT_EQ(after.Value().olabel, arc.olabel);
}

TEST(BuilderOptimisations, ReverseSpellsBackwards) {
    Builder builder;
    add_words(builder, {{"abc", ""}});
    builder.reverse();
    builder.setProperties();
    EXPECT_EQ(paths(*builder.top->network), (std::set<Path>{{"cba", "cba"}}));
}

TEST(BuilderTwoMembers, OtherGroupSizesOnlyWarn) {
    const std::pair<const char*, std::function<void(Builder&)>> operations[] = {
        {"compose", [](Builder& b) { b.compose(); }},
        {"difference", [](Builder& b) { b.difference(); }},
        {"replace", [](Builder& b) { b.replace("x"); }},
        {"intersect", [](Builder& b) { b.intersect(); }},
    };
    for (const auto& operation : operations) {
        for (std::size_t members : {1u, 3u}) {
            Builder builder;
            add_group(builder, std::vector<std::vector<std::pair<std::string, std::string>>>(
                                   members, {{"a", "a"}}));
            auto* top = builder.top;
            testing::internal::CaptureStdout();
            operation.second(builder);
            EXPECT_EQ(testing::internal::GetCapturedStdout(),
                      std::string("Warning : FstBuilderCommands : ") + operation.first +
                          " : Only works on a group of 2 networks.");
            EXPECT_EQ(builder.top, top);
            EXPECT_EQ(top->parent->children.size(), members);
        }
    }
}

TEST(BuilderTwoMembers, ComposeAddsAThirdMember) {
    Builder builder;
    // Composition matches keys: the symbols get the same key in both tables.
    for (const char* symbol : {"a", "b", "c", "d", "x", "y"})
        builder.push_lable(symbol);
    add_group(builder, {{{"a", "b"}, {"c", "d"}}, {{"b", "x"}, {"d", "y"}}});
    auto* top = builder.top;
    builder.compose();
    EXPECT_EQ(builder.top, top);
    ASSERT_EQ(top->parent->children.size(), 3u);
    EXPECT_EQ(paths(*top->parent->children[2]->network, tables(builder)),
              (std::set<Path>{{"ac", "xy"}}));
}

TEST(BuilderTwoMembers, IntersectAndDifferenceOfAcceptors) {
    {
        Builder builder;
        add_group(builder, {{{"a", "a"}, {"b", "b"}}, {{"a", "a"}, {"b", "b"}}});
        builder.intersect();
        ASSERT_EQ(builder.top->parent->children.size(), 3u);
        EXPECT_EQ(paths(*builder.top->parent->children[2]->network, tables(builder)),
                  (std::set<Path>{{"ab", "ab"}}));
    }
    {
        Builder builder;
        add_group(builder, {{{"a", "a"}}, {{"b", "b"}}});
        builder.difference();
        // The difference sits under top, which it became.
        ASSERT_NE(builder.top->parent, nullptr);
        EXPECT_EQ(builder.top->parent->children.size(), 1u);
        EXPECT_EQ(paths(*builder.top->network, tables(builder)), (std::set<Path>{{"a", "a"}}));
    }
    {
        Builder builder;
        add_group(builder, {{{"a", "a"}}, {{"a", "a"}}});
        builder.difference();
        EXPECT_EQ(paths(*builder.top->network), std::set<Path>{});
    }
}

TEST(BuilderTwoMembers, ReplaceExpandsTheLabel) {
    Builder builder;
    add_group(builder, {{{"x", "x"}, {"N", "N"}, {"y", "y"}}, {{"m", "m"}, {"n", "n"}}});
    auto* group = builder.top->parent;
    builder.replace("N");
    ASSERT_EQ(group->children.size(), 3u);
    EXPECT_EQ(builder.top, group->children[2].get());
    builder.setProperties();
    EXPECT_EQ(paths(*builder.top->network), (std::set<Path>{{"xmny", "xmny"}}));
}

// OpenFst errors become exceptions; the process goes on.
TEST(BuilderOpenFstErrors, BecomeAFSTExceptions) {
    Builder builder;
    builder.push_upper_lable("z");
    add_group(builder, {{{"a", "b"}}, {{"a", "b"}}});
    EXPECT_EQ(error_of([&] { builder.intersect(); }),
              "FATAL: IntersectFst: Input FSTs are not acceptors\n");
    EXPECT_THROW(builder.intersect(), AFSTException);
    EXPECT_THROW(builder.intersect(), dez::afst::AFSTException);
    EXPECT_EQ(builder.top->parent->children.size(), 2u);

    // Two arcs "a" out of the start (unions of entries come out determinised).
    Builder nondeterministic;
    nondeterministic.open_rule();
    nondeterministic.pushArc("a");
    nondeterministic.pushArc("b");
    nondeterministic.addArc(0, 2, "a", "a");
    nondeterministic.close_rule();
    EXPECT_EQ(error_of([&] { nondeterministic.minimize(); }),
              "FATAL: Refusing to minimize a non-deterministic FST with allow_nondet = false\n");
}

TEST(BuilderPrinting, SymbolTablesAndStack) {
    Builder builder;
    builder.push_lower_lable("a");
    builder.open_rule();
    testing::internal::CaptureStdout();
    builder.print_lower("LOWER");
    builder.print_upper("UPPER");
    builder.print_stack("ignored");
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "LOWER\n0:0=eps\n1:1=EPS\n2:2=a\nUPPER\n0:0=eps\n1:1=EPS\n");

    builder.open_group();
    builder.pushArc("a");
    builder.separator("union");
    testing::internal::CaptureStdout();
    builder.print_stack_item(0, builder.stack[0]);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(::testing::internal::RE::FullMatch(out,
                                                   "[^ ]+_separator_type: group_size:1\n"
                                                   "  [^ ]+_separator_type:union group_size:2\n"
                                                   "    [^ ]+_separator_type: group_size:0\n"
                                                   "    [^ ]+_separator_type: group_size:0\n"))
        << out;
}

} // namespace

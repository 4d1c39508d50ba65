#include "core-afst/builder.h"

#include "core-afst/pattern_line.h"
#include "core-afst/word_lookup.h"
#include "error_of.h"
#include "network_paths.h"

#include <gtest/gtest.h>

#include <fst/properties.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <memory>
#include <random>
#include <regex>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

using afst_test::accepts;
using afst_test::error_of;
using afst_test::outputs;
using afst_test::paths;
using afst_test::recognized_words;
using dez::afst::Builder;
using dez::afst::stack_item;
using Network = fst::StdVectorFst;

// Rule text in tokens: "(" opens a group, "|" separates alternatives, ")" plus
// an optional modifier closes a group, anything else is one arc.
void feed(Builder& builder, const std::vector<std::string>& tokens) {
    for (const auto& token : tokens) {
        if (token == "(")
            builder.open_group();
        else if (token == "|")
            builder.separator("union");
        else if (token[0] == ')')
            builder.close_group(token.substr(1));
        else
            builder.pushArc(token);
    }
}

// std::regex as the oracle of the random pattern tests. libstdc++'s
// breadth-first matcher keeps nested closures from backtracking for ages.
std::regex oracle_of(const std::string& expression) {
#ifdef __GLIBCXX__
    return std::regex(expression, std::regex::ECMAScript | std::regex_constants::__polynomial);
#else
    return std::regex(expression);
#endif
}

Network& rule(Builder& builder, const std::vector<std::string>& tokens, bool full = true) {
    builder.open_rule();
    feed(builder, tokens);
    builder.close_rule();
    return *builder.build(full);
}

TEST(BuilderTables, StartWithEpsAndEPS) {
    Builder builder;
    builder.open_rule();
    builder.pushArc("x", "y");
    builder.clear();
    for (const auto* table : {builder.lower_table.get(), builder.upper_table.get()}) {
        EXPECT_EQ(table->NumSymbols(), 2u);
        EXPECT_EQ(table->Find("eps"), 0);
        EXPECT_EQ(table->Find("EPS"), 1);
    }
    EXPECT_EQ(builder.lower_table->Name(), "lower");
    EXPECT_EQ(builder.upper_table->Name(), "upper");
    ASSERT_EQ(builder.stack.size(), 1u);
    EXPECT_EQ(builder.top, builder.stack[0].get());
}

TEST(BuilderTables, NewPairGetsKeyTwoOnceAndEpsIsEpsilon) {
    Builder builder;
    builder.open_rule();
    builder.pushArc("ab", "cd");
    builder.pushArc("ab", "cd");
    builder.pushArc("eps");
    const Network& network = *builder.top->network;
    EXPECT_EQ(builder.lower_table->Find("ab"), 2);
    EXPECT_EQ(builder.upper_table->Find("cd"), 2);
    EXPECT_EQ(builder.lower_table->NumSymbols(), 3u);
    for (int state : {0, 1}) {
        fst::ArcIterator<Network> arc(network, state);
        EXPECT_EQ(arc.Value().ilabel, 2);
        EXPECT_EQ(arc.Value().olabel, 2);
    }
    fst::ArcIterator<Network> epsilon(network, 2);
    EXPECT_EQ(epsilon.Value().ilabel, 0);
    EXPECT_EQ(epsilon.Value().olabel, 0);
}

// One-character symbols are looked up through a cache: every table that
// takes the place of another gives its own keys.
TEST(BuilderTables, KeysFollowTheTablesInUse) {
    const auto first_arc = [](Builder& builder, const std::string& lower,
                              const std::string& upper) {
        builder.open_rule();
        builder.pushArc(lower, upper);
        fst::ArcIterator<Network> arc(*builder.top->network, 0);
        return std::make_pair(arc.Value().ilabel, arc.Value().olabel);
    };
    Builder builder;
    builder.push_lower_lable("x");
    builder.push_upper_lable("y");
    builder.push_upper_lable("x");
    EXPECT_EQ(first_arc(builder, "x", "x"), std::make_pair(2, 3));

    builder.invert();
    EXPECT_EQ(first_arc(builder, "x", "x"), std::make_pair(3, 2));

    auto lower = std::make_shared<fst::SymbolTable>("lower");
    for (const char* symbol : {"eps", "EPS", "a", "b", "x"})
        lower->AddSymbol(symbol);
    builder.set_lower_table(lower);
    EXPECT_EQ(first_arc(builder, "x", "x"), std::make_pair(4, 2));

    builder.clear();
    builder.push_lower_lable("z");
    EXPECT_EQ(first_arc(builder, "x", "x"), std::make_pair(3, 2));
}

TEST(BuilderTables, NumericLabelsAreTruncatedTo32Bits) {
    Builder builder;
    builder.open_rule();
    builder.pushArcIDs(0x80000000L, 0x90000000L);
    fst::ArcIterator<Network> arc(*builder.top->network, 0);
    EXPECT_EQ(arc.Value().ilabel, INT_MIN);
    EXPECT_EQ(arc.Value().olabel, -1879048192);
}

TEST(BuilderTables, ReadOnlyTablesRejectUnknownLabels) {
    Builder builder;
    builder.push_lable("a");
    builder.set_read_only_tables(true);
    builder.open_rule();
    builder.pushArc("a");
    EXPECT_EQ(error_of([&] { builder.pushArc("b", "a"); }),
              "ERROR: afst:builder::pushArc (lower) table is read only and label is not found[b]");
    EXPECT_EQ(error_of([&] { builder.pushArc("a", "c"); }),
              "ERROR: afst:builder::pushArc (upper) table is read only and label is not found[c]");
    // The target states stay, the tables do not grow.
    EXPECT_EQ(builder.top->network->NumStates(), 4);
    EXPECT_EQ(builder.lower_table->NumSymbols(), 3u);
    builder.pushUtf8Arc("new", "new");
    EXPECT_EQ(builder.lower_table->Find("new"), 3);
}

TEST(BuilderRules, WorkedExampleStarOverUnion) {
    Builder builder;
    const Network& network = rule(builder, {"a", "(", "b", "|", "c", ")*", "d"});
    for (const char* word : {"ad", "abd", "acd", "abcbd", "accccd"})
        EXPECT_TRUE(accepts(network, word)) << word;
    for (const char* word : {"", "a", "d", "abc", "bd", "aad", "abdd"})
        EXPECT_FALSE(accepts(network, word)) << word;
    EXPECT_EQ(builder.stack[0]->children.size(), 1u);
    EXPECT_EQ(builder.top, builder.stack[0]->children[0].get());
    EXPECT_TRUE(builder.top->children.empty());
}

TEST(BuilderRules, EmptyRuleIsTheEmptyString) {
    Builder builder;
    builder.open_rule();
    builder.close_rule();
    EXPECT_EQ(builder.top->network->NumStates(), 1);
    EXPECT_NE(builder.top->network->Final(0), fst::TropicalWeight::Zero());
    const Network& network = *builder.build(true);
    EXPECT_EQ(paths(network), (std::set<afst_test::Path>{{"", ""}}));
}

TEST(BuilderRules, InputAndOutputLabelsStayPaired) {
    Builder builder;
    builder.open_rule();
    builder.pushArc("a", "x");
    builder.pushArc("b", "eps");
    builder.pushArc("eps", "[+N]");
    builder.close_rule();
    EXPECT_EQ(paths(*builder.build(true)), (std::set<afst_test::Path>{{"ab", "x[+N]"}}));
}

TEST(BuilderRules, PlainGroupsAfterAUnionPassThrough) {
    Builder builder;
    const Network& network =
        rule(builder, {"(", "x", "|", "y", ")", "(", "a", "b", ")", "(", "c", ")"});
    EXPECT_EQ(paths(network), (std::set<afst_test::Path>{{"xabc", "xabc"}, {"yabc", "yabc"}}));
}

TEST(BuilderRules, NestedGroups) {
    Builder builder;
    const Network& network =
        rule(builder, {"(", "a", "(", "b", "|", "c", ")", "|", "d", ")+", "e"});
    for (const char* word : {"abe", "ace", "de", "abdace", "dde"})
        EXPECT_TRUE(accepts(network, word)) << word;
    for (const char* word : {"e", "ae", "abce", "bde"})
        EXPECT_FALSE(accepts(network, word)) << word;
}

TEST(BuilderRules, EmptyAlternativeAddsNothing) {
    Builder builder;
    const Network& network = rule(builder, {"(", "a", "|", ")"});
    EXPECT_EQ(paths(network), (std::set<afst_test::Path>{{"a", "a"}}));
}

TEST(BuilderRules, UnionOfOnlyEmptyAlternativesIsAnEmptyGroup) {
    Builder builder;
    const Network& network = rule(builder, {"a", "(", "|", ")", "b"});
    EXPECT_EQ(paths(network), (std::set<afst_test::Path>{{"ab", "ab"}}));
    Builder starred;
    EXPECT_EQ(paths(rule(starred, {"a", "(", "|", ")*", "b"})),
              (std::set<afst_test::Path>{{"ab", "ab"}}));
}

TEST(BuilderRules, SeparatorOutsideAGroupMakesSiblingRules) {
    Builder builder;
    builder.open_rule();
    builder.pushArc("a");
    builder.separator("union");
    builder.pushArc("b");
    builder.close_rule();
    EXPECT_EQ(builder.stack[0]->children.size(), 2u);
    EXPECT_EQ(paths(*builder.build(true)), (std::set<afst_test::Path>{{"b", "b"}}));
    builder.applyUnion(0);
    EXPECT_EQ(paths(*builder.build(true)), (std::set<afst_test::Path>{{"a", "a"}, {"b", "b"}}));
}

// Random patterns of groups, unions and closures against std::regex, over
// every word of up to five letters.
TEST(BuilderRules, AgreesWithARegularExpressionOracle) {
    std::mt19937 random(11);
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    static const char* const modifiers[] = {"", "*", "+", "?", "2", "0,1", "1,2", "0", "2,3"};
    static const char* const quantifiers[] = {"",      "*",     "+", "?",    "{2}",
                                              "{0,1}", "{1,2}", "?", "{2,3}"};
    std::function<void(int, std::vector<std::string>&, std::string&)> generate =
        [&](int depth, std::vector<std::string>& tokens, std::string& expression) {
            for (int n = 1 + pick(3); n > 0; --n) {
                if (depth < 2 && pick(3) == 0) {
                    tokens.push_back("(");
                    expression += "(?:";
                    for (int alternative = 0, count = 1 + pick(3); alternative < count;
                         ++alternative) {
                        if (alternative > 0) {
                            tokens.push_back("|");
                            expression += "|";
                        }
                        generate(depth + 1, tokens, expression);
                    }
                    const int modifier = pick(9);
                    tokens.push_back(std::string(")") + modifiers[modifier]);
                    expression += std::string(")") + quantifiers[modifier];
                } else {
                    const std::string letter(1, static_cast<char>('a' + pick(3)));
                    tokens.push_back(letter);
                    expression += letter;
                }
            }
        };
    std::vector<std::string> words = {""};
    for (std::size_t i = 0; i < words.size(); ++i)
        if (words[i].size() < 5)
            for (char c : {'a', 'b', 'c'})
                words.push_back(words[i] + c);

    for (int round = 0; round < 150; ++round) {
        std::vector<std::string> tokens;
        std::string expression;
        generate(0, tokens, expression);
        const std::regex oracle = oracle_of(expression);
        std::set<std::string> expected;
        for (const auto& word : words)
            if (std::regex_match(word, oracle))
                expected.insert(word);
        for (bool full : {false, true}) {
            Builder builder;
            const Network& network = rule(builder, tokens, full);
            ASSERT_EQ(recognized_words(network, *builder.lower_table, "abc", 5), expected)
                << expression << (full ? " full" : "");
        }
    }
}

TEST(BuilderRules, PopOnARootFails) {
    Builder builder;
    EXPECT_EQ(error_of([&] { builder.pop(); }), "AFST Builder fatal error:To many pops.");
    builder.open_rule();
    builder.pop();
    EXPECT_EQ(builder.top, builder.stack[0].get());
    EXPECT_EQ(error_of([&] { builder.pop(); }), "AFST Builder fatal error:To many pops.");
    EXPECT_EQ(error_of([&] { builder.separator("union"); }),
              "AFST Builder fatal error:separator outside any rule.");
}

TEST(BuilderRules, BuiltNetworkIsReallySortedAndNotCalledAnAcceptor) {
    Builder builder;
    builder.open_rule();
    builder.pushArc("z");
    builder.close_rule();
    builder.open_rule();
    builder.pushArc("a");
    builder.close_rule();
    builder.applyUnion(0);
    Network& network = *builder.build(false);
    EXPECT_TRUE(network.Properties(fst::kILabelSorted, false));
    EXPECT_FALSE(network.Properties(fst::kAcceptor, false));
    for (int s = 0; s < network.NumStates(); ++s) {
        int previous = INT_MIN;
        for (fst::ArcIterator<Network> it(network, s); !it.Done(); it.Next()) {
            EXPECT_LE(previous, it.Value().ilabel);
            previous = it.Value().ilabel;
        }
    }
    EXPECT_EQ(network.InputSymbols()->Name(), "lower");
    EXPECT_EQ(network.OutputSymbols()->Name(), "upper");
}

struct ClosureCase {
    const char* modifier;
    std::vector<int> accepted; // repetition counts 0..6 that match
};

TEST(BuilderClosures, ModifierTexts) {
    const ClosureCase cases[] = {
        {"*", {0, 1, 2, 3, 4, 5, 6}},
        {"+", {1, 2, 3, 4, 5, 6}},
        {"?", {0, 1}},
        {"2,4", {2, 3, 4}},
        {"3", {3}},
        {"0", {0, 1}},
        {"0,0", {0, 1}},
        {"0,2", {0, 1, 2}},
        {"1,1", {1}},
    };
    for (const auto& c : cases) {
        for (bool full : {false, true}) {
            Builder builder;
            const Network& network =
                rule(builder, {"a", "(", "x", "y", std::string(")") + c.modifier, "b"}, full);
            std::vector<int> accepted;
            for (int n = 0; n <= 6; ++n) {
                std::string word = "a";
                for (int i = 0; i < n; ++i)
                    word += "xy";
                if (accepts(network, word + "b", 40))
                    accepted.push_back(n);
            }
            EXPECT_EQ(accepted, c.accepted) << c.modifier << (full ? " full" : "");
        }
    }
}

// A counted group whose own network ends in several final states keeps all
// of them as ways out of each repetition.
TEST(BuilderClosures, NestedCountsAndOptionalTails) {
    struct Case {
        std::vector<std::string> tokens;
        std::set<std::string> accepted;
        std::set<std::string> rejected;
    };
    const Case cases[] = {
        {{"(", "(", "c", ")2,3", ")1,2"},
         {"cc", "ccc", "cccc", "ccccc", "cccccc"},
         {"", "c", "ccccccc"}},
        {{"(", "c", "b", "(", "a", "a", "a", ")?", ")1,2"},
         {"cb", "cbaaa", "cbcb", "cbaaacb", "cbcbaaa", "cbaaacbaaa"},
         {"", "cbaa", "cbcbcb"}},
    };
    for (const auto& c : cases) {
        for (bool full : {false, true}) {
            Builder builder;
            const Network& network = rule(builder, c.tokens, full);
            for (const auto& word : c.accepted)
                EXPECT_TRUE(accepts(network, word, 30)) << word;
            for (const auto& word : c.rejected)
                EXPECT_FALSE(accepts(network, word, 30)) << word;
        }
    }
}

TEST(BuilderClosures, Errors) {
    const std::pair<const char*, const char*> cases[] = {
        {"4,2", "ERROR: first range should be bigger then the second value"},
        {"1,2,3", "ERROR: Invalid iterator type or range"},
        {"x", "stoul"},
        {"2,y", "stoul"},
        {"99999999999999999999", "stoul"},
        {"1,1001",
         "AFST Builder fatal error:closure of 1001 repetitions exceeds the limit of 1000."},
        {"4294967297", "stoul"},
    };
    for (const auto& c : cases) {
        Builder builder;
        builder.open_rule();
        builder.open_group();
        builder.pushArc("x");
        EXPECT_EQ(error_of([&] { builder.close_group(c.first); }), c.second) << c.first;
    }
    Builder builder;
    builder.open_rule();
    builder.pushArc("x");
    EXPECT_THROW(builder.closure_modifier("x"), std::invalid_argument);
    EXPECT_THROW(builder.closure_modifier("99999999999999999999"), std::out_of_range);
}

TEST(BuilderClosures, LargestAllowedCountBuilds) {
    Builder builder;
    builder.open_rule();
    builder.open_group();
    builder.pushArc("x");
    builder.close_group("1000");
    builder.close_rule();
    const auto spelled =
        paths(*builder.top->network, {builder.lower_table.get(), builder.upper_table.get()}, 3000);
    ASSERT_EQ(spelled.size(), 1u);
    EXPECT_EQ(spelled.begin()->first, std::string(1000, 'x'));
}

TEST(BuilderUnion, ApplyUnionOfRulesSkipsEmptyEntries) {
    Builder builder;
    for (const char* word : {"ab", "", "cd"}) {
        builder.open_rule();
        for (const char* c = word; *c; ++c)
            builder.pushArc(std::string(1, *c));
        builder.close_rule();
    }
    builder.applyUnion(0);
    ASSERT_EQ(builder.stack[0]->children.size(), 1u);
    EXPECT_EQ(paths(*builder.build(true)), (std::set<afst_test::Path>{{"ab", "ab"}, {"cd", "cd"}}));
}

TEST(BuilderUnion, ApplyUnionFromAnIndexKeepsEarlierMembers) {
    Builder builder;
    for (const char* word : {"a", "b", "c"}) {
        builder.open_rule();
        builder.pushArc(word);
        builder.close_rule();
    }
    builder.applyUnion(1);
    ASSERT_EQ(builder.stack[0]->children.size(), 2u);
    EXPECT_EQ(builder.top, builder.stack[0]->children[1].get());
    EXPECT_EQ(paths(*builder.build(true)), (std::set<afst_test::Path>{{"b", "b"}, {"c", "c"}}));
    EXPECT_EQ(paths(*builder.stack[0]->children[0]->network,
                    {builder.lower_table.get(), builder.upper_table.get()}),
              (std::set<afst_test::Path>{{"a", "a"}}));
}

TEST(BuilderUnion, SingleRuleIsUntouched) {
    Builder builder;
    builder.open_rule();
    builder.pushArc("a");
    builder.close_rule();
    const auto before = builder.top->network;
    builder.applyUnion(0);
    EXPECT_EQ(builder.top->network, before);
}

// A lexicon word with two readings is not a functional transducer.
TEST(BuilderLexicon, TwoReadingsSurviveBothBuilds) {
    for (bool full : {false, true}) {
        Builder builder;
        const std::vector<std::pair<std::string, std::string>> entries = {
            {"walk", "[+V-Inf]"}, {"walk", "[+Nn-Sg]"}, {"walks", "[+V-3Sg]"}};
        for (const auto& entry : entries) {
            builder.open_rule();
            for (char c : entry.first)
                builder.pushArc(std::string(1, c));
            builder.pushArc("eps", entry.second);
            builder.close_rule();
            builder.build(false);
        }
        builder.applyUnion(0);
        builder.build(false);
        const Network& network = *builder.build(full);
        EXPECT_EQ(outputs(network, "walk"),
                  (std::set<std::string>{"walk[+V-Inf]", "walk[+Nn-Sg]"}));
        EXPECT_EQ(outputs(network, "walks"), (std::set<std::string>{"walks[+V-3Sg]"}));
        EXPECT_EQ(paths(network).size(), 3u);
        // Every reading's tag stays on an arc of its own, after the word.
        for (const auto& path : paths(network))
            EXPECT_EQ(path.second.find('['), path.first.size());
    }
}

struct UnorderedCase {
    const char* kind;
    std::set<std::string> accepted;
    std::set<std::string> rejected;
};

TEST(BuilderUnordered, Kinds) {
    const UnorderedCase cases[] = {
        {"adjacent", {"ab", "ba"}, {"a", "b", "aab", "abab", "a{80000000}b"}},
        {"shortest", {"a{80000000}b", "b{80000000}a"}, {"ab", "ba", "a{80000000}{80000000}b"}},
        {"longest",
         {"ab", "ba", "a{90000000}b", "b{90000000}{90000000}{90000000}a"},
         {"a", "a{80000000}b", "aa"}},
    };
    for (const auto& c : cases) {
        Builder builder;
        builder.open_rule();
        builder.open_group();
        builder.pushArc("a");
        builder.unordered_separator(c.kind);
        builder.pushArc("b");
        builder.close_group("");
        builder.close_rule();
        const Network& network = *builder.build(true);
        for (const auto& word : c.accepted)
            EXPECT_TRUE(accepts(network, word)) << c.kind << " " << word;
        for (const auto& word : c.rejected)
            EXPECT_FALSE(accepts(network, word)) << c.kind << " " << word;
        // The symbols came back from the temporary builders under this builder's keys.
        EXPECT_EQ(builder.lower_table->NumSymbols(), 4u) << c.kind;
    }
}

TEST(BuilderUnordered, ThreeMembersInEveryOrderInsideARule) {
    Builder builder;
    builder.open_rule();
    builder.pushArc("x");
    builder.open_group();
    builder.pushArc("a");
    builder.unordered_separator("adjacent");
    builder.pushArc("b");
    builder.pushArc("c");
    builder.unordered_separator("adjacent");
    builder.open_group();
    builder.pushArc("d");
    builder.separator("union");
    builder.pushArc("e");
    builder.close_group("");
    builder.close_group("");
    builder.pushArc("y");
    builder.close_rule();
    std::set<std::string> accepted;
    for (const auto& path : paths(*builder.build(true)))
        accepted.insert(path.first);
    const std::set<std::string> expected = {"xabcdy", "xabcey", "xadbcy", "xaebcy",
                                            "xbcady", "xbcaey", "xbcday", "xbceay",
                                            "xdabcy", "xeabcy", "xdbcay", "xebcay"};
    EXPECT_EQ(accepted, expected);
}

// The union of the orderings comes back determinised; a closure and the
// arcs after the group must still see where each ordering ends.
TEST(BuilderUnordered, StarredGroupEndsWhereItsOrderingsEnd) {
    Builder builder;
    builder.open_rule();
    builder.pushArc("x");
    builder.open_group();
    builder.pushArc("a");
    builder.unordered_separator("longest");
    builder.pushArc("b");
    builder.pushArc("c");
    builder.close_group("*");
    builder.pushArc("y");
    builder.close_rule();
    const std::regex expected("x(?:aF*bc|bcF*a)*y");
    std::set<std::string> accepted;
    for (const auto& path : paths(*builder.build(true), 14)) {
        std::string text = path.first;
        for (std::size_t at; (at = text.find("{90000000}")) != std::string::npos;)
            text.replace(at, 10, "F");
        EXPECT_TRUE(std::regex_match(text, expected)) << text;
        accepted.insert(text);
    }
    for (const char* word : {"xy", "xabcy", "xbcay", "xaFFbcy", "xbcFaabcy"})
        EXPECT_EQ(accepted.count(word), 1u) << word;
}

TEST(BuilderUnordered, OtherKindsAndLimits) {
    Builder ignored;
    ignored.open_rule();
    ignored.pushArc("a");
    ignored.unordered_separator("sideways");
    EXPECT_EQ(ignored.top->parent, ignored.stack[0].get());
    EXPECT_EQ(ignored.stack[0]->separator_type, "");

    Builder odd;
    odd.open_rule();
    odd.open_group();
    odd.pushArc("a");
    odd.separator("unordered:odd");
    odd.pushArc("b");
    EXPECT_EQ(error_of([&] { odd.close_group(""); }),
              "AFST Builder fatal error:unknown unordered group type unordered:odd.");

    Builder single;
    single.open_rule();
    single.open_group();
    single.pushArc("a");
    single.unordered_separator("adjacent");
    single.pushArc("b");
    single.close_group("");
    single.open_group();
    single.pushArc("c");
    single.close_group("");
    single.close_rule();
    EXPECT_EQ(paths(*single.build(true)),
              (std::set<afst_test::Path>{{"abc", "abc"}, {"bac", "bac"}}));

    Builder many;
    many.open_rule();
    many.open_group();
    for (int i = 0; i < 8; ++i) {
        if (i > 0)
            many.unordered_separator("adjacent");
        many.pushArc(std::string(1, static_cast<char>('a' + i)));
    }
    EXPECT_EQ(
        error_of([&] { many.close_group(""); }),
        "AFST Builder fatal error:unordered group of 8 members exceeds the limit of 7 members.");
}

TEST(BuilderItems, SwapAndConcat) {
    Builder builder;
    for (const char* word : {"a", "b"}) {
        builder.open_rule();
        builder.pushArc(word);
        builder.close_rule();
    }
    stack_item* b = builder.top;
    builder.swap();
    EXPECT_EQ(builder.stack[0]->children[0].get(), b);
    builder.concat();
    ASSERT_EQ(builder.stack[0]->children.size(), 1u);
    EXPECT_EQ(builder.top, b);
    EXPECT_EQ(paths(*builder.top->network, {builder.lower_table.get(), builder.upper_table.get()}),
              (std::set<afst_test::Path>{{"ba", "ba"}}));
}

TEST(BuilderItems, ClosedGroupLeavesAContinuation) {
    Builder builder;
    builder.open_rule();
    builder.open_group();
    builder.pushArc("a");
    builder.close_group("");
    EXPECT_TRUE(builder.top->concat_group);
    EXPECT_TRUE(builder.closing_concat_group());
    EXPECT_FALSE(builder.top->concat_group);
    EXPECT_FALSE(builder.closing_concat_group());
}


// ---- lexicons of pattern lines, looked up -------------------------------

// Every line an entry of its own, tagged with its position, built the way the
// lexicon build does (each entry determinised, the union written with the
// full optimisation) and read back the way a lookup loads it.
std::shared_ptr<Network> tagged_lexicon(const std::vector<std::string>& lines) {
    Builder builder;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        builder.open_rule();
        dez::afst::push_arcs_line(builder, lines[i]);
        builder.pushArc("eps", "+L" + std::to_string(i));
        builder.close_rule();
        builder.build(false);
    }
    builder.applyUnion(0);
    std::stringstream stream;
    builder.write(stream);
    return std::shared_ptr<Network>(Network::Read(stream, fst::FstReadOptions("lexicon")));
}

// No epsilon arcs and no state with two arcs of the same label pair: a walk
// follows one path per reading.
::testing::AssertionResult deterministic_over_pairs(const Network& network) {
    for (int state = 0; state < network.NumStates(); ++state) {
        std::set<std::pair<int, int>> seen;
        for (fst::ArcIterator<Network> it(network, state); !it.Done(); it.Next()) {
            const auto& arc = it.Value();
            if (arc.ilabel == 0 && arc.olabel == 0)
                return ::testing::AssertionFailure() << "epsilon arc at state " << state;
            if (!seen.insert({arc.ilabel, arc.olabel}).second)
                return ::testing::AssertionFailure()
                       << "two arcs " << arc.ilabel << ":" << arc.olabel << " at state " << state;
        }
    }
    return ::testing::AssertionSuccess();
}

TEST(BuilderLexiconLookup, NestedStarsLoseNoReading) {
    struct Case {
        std::vector<std::string> lines;
        std::string word;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {{"regex:(a)*(a)*(a)*(a)*(a)*(a)*b", "aaaaaaaaaa:X"}, "aaaaaaaaaa", {"X+L1"}},
        {{"regex:(a)*(a)*(a)*(a)*(a)*(a)*b", "aaaaaaaaaa:X"}, "aaaaaaaaaab", {"aaaaaaaaaab+L0"}},
        {{"regex:(aa|b|a)*(((a)*(a)*(a)*)*((a)*)*)*"}, "aaaab", {"aaaab+L0"}},
        {{"regex:(aa|b|a)*(((a)*(a)*(a)*)*((a)*)*)*"}, "aaaaab", {"aaaaab+L0"}},
        {{"regex:(aa|b|a)*(((a)*(a)*(a)*)*((a)*)*)*"},
         "baaaaaaaaaaaaaaaaaaab",
         {"baaaaaaaaaaaaaaaaaaab+L0"}},
        // A built entry no longer ends in its highest state: the union must
        // not mark that state final.
        {{"regex:b", "regex:((a){2})?"}, "aa", {"aa+L1"}},
        {{"regex:b", "regex:((a){2})?(c)*"}, "aa", {"aa+L1"}},
    };
    for (const auto& c : cases) {
        const auto network = tagged_lexicon(c.lines);
        ASSERT_TRUE(network);
        EXPECT_TRUE(deterministic_over_pairs(*network)) << c.lines[0];
        EXPECT_EQ(dez::afst::WordLookup(network, nullptr).up(c.word), c.expected)
            << c.lines[0] << " " << c.word;
    }
}

// Random lexicons of "regex:" and raw lines against std::regex, every word
// looked up through the whole-word lookup of the written network.
TEST(BuilderLexiconLookup, AgreesWithARegularExpressionOracle) {
    std::mt19937 random(23);
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    static const char* const closures[] = {"", "*", "+", "?", "{2}", "{0,1}", "{1,2}", "{2,3}"};
    // Deep nesting of starred groups is what once lost readings.
    std::function<void(int, std::string&, std::string&)> generate = [&](int depth,
                                                                         std::string& line,
                                                                         std::string& expression) {
        for (int n = 1 + pick(3); n > 0; --n) {
            if (depth < 3 && pick(3) == 0) {
                line += "(";
                expression += "(?:";
                for (int alternative = 0, count = 1 + pick(3); alternative < count;
                     ++alternative) {
                    if (alternative > 0) {
                        line += "|";
                        expression += "|";
                    }
                    generate(depth + 1, line, expression);
                }
                const char* closure = closures[pick(8)];
                line += std::string(")") + closure;
                expression += std::string(")") + closure;
            } else {
                const char symbol = "aab."[pick(4)];
                line += symbol;
                expression += symbol;
            }
        }
    };
    std::vector<std::string> words = {""};
    for (std::size_t i = 0; i < words.size(); ++i)
        if (words[i].size() < 6)
            for (char c : {'a', 'b'})
                words.push_back(words[i] + c);
    words.push_back(std::string(12, 'a'));
    words.push_back(std::string(11, 'a') + "b");

    for (int round = 0; round < 30; ++round) {
        std::vector<std::string> lines;
        std::vector<std::regex> oracles;
        for (int n = 1 + pick(3); n > 0; --n) {
            std::string line;
            std::string expression;
            if (pick(4) == 0) {
                for (int length = 1 + pick(5); length > 0; --length)
                    line += "ab"[pick(2)];
                expression = line;
            } else {
                generate(0, line, expression);
                line = "regex:" + line;
            }
            lines.push_back(line);
            oracles.push_back(oracle_of(expression));
        }
        const auto network = tagged_lexicon(lines);
        ASSERT_TRUE(network);
        ASSERT_TRUE(deterministic_over_pairs(*network)) << ::testing::PrintToString(lines);
        dez::afst::WordLookup lookup(network, nullptr);
        for (const auto& word : words) {
            std::vector<std::string> expected;
            for (std::size_t i = 0; i < lines.size(); ++i)
                if (std::regex_match(word, oracles[i]))
                    expected.push_back(word + "+L" + std::to_string(i));
            std::sort(expected.begin(), expected.end());
            ASSERT_EQ(lookup.up(word), expected)
                << ::testing::PrintToString(lines) << " '" << word << "'";
        }
    }
}

// Short lines whose closures or determinisation would grow without bound are
// refused before they take the machine's time and memory.
TEST(BuilderLexiconLookup, RunawayLinesAreRefused) {
    struct Case {
        const char* line;
        const char* message;
    };
    const Case cases[] = {
        {"regex:((a){1000}){1000}",
         "AFST Builder fatal error:closure of 1000 repetitions of 2001 states exceeds the limit "
         "of 20000 states."},
        {"regex:(((((a|b){2,4}|c){2,4}|a){2,4}|b){2,4}|c){2,4}",
         "AFST Builder fatal error:determinisation exceeds the limit of 20000 states."},
    };
    for (const auto& c : cases) {
        Builder builder;
        builder.open_rule();
        EXPECT_THROW(
            {
                try {
                    dez::afst::push_arcs_line(builder, c.line);
                    builder.close_rule();
                    builder.build(true);
                } catch (const AFSTException& e) {
                    EXPECT_EQ(std::string(e.what()), c.message) << c.line;
                    throw;
                }
            },
            AFSTException)
            << c.line;
    }
}

// The union of entries that are each small but whose states combine in
// every way (sixteen letters from a and b with an a at position i, for every
// i) is bounded like a determinisation.
TEST(BuilderLexiconLookup, RunawayUnionIsRefused) {
    Builder builder;
    for (int i = 0; i < 16; ++i) {
        builder.open_rule();
        for (int position = 0; position < 16; ++position) {
            builder.pushArc("a");
            if (position != i)
                builder.addArc(position, position + 1, "b", "b");
        }
        builder.close_rule();
    }
    EXPECT_EQ(error_of([&] { builder.applyUnion(0); }),
              "AFST Builder fatal error:determinisation exceeds the limit of 20000 states.");
    EXPECT_THROW(builder.applyUnion(0), AFSTException);
}

} // namespace

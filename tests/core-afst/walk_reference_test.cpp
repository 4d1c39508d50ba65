// The fast walks (sorted keys, lazily read characters, passed arcs counted in
// bulk) against a plain walk that tries every arc of a state in turn and
// compares texts, over random small networks and texts.

#include "core-afst/afst.h"
#include "core-afst/base_matcher.h"
#include "core-afst/end_policies.h"
#include "core-afst/result_collectors.h"
#include "core-afst/word_lookup.h"

#include "foundation/code_point_classes.h"
#include "lexicon_fixture.h"

#include <gtest/gtest.h>

#include <utf8.h>

#include <algorithm>
#include <iterator>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using afst_test::HandNetwork;
using Pairs = std::vector<std::pair<int, std::string>>;

struct Arc {
    std::string input;
    std::string output;
    int target;
};

// Every state's arcs with their texts, in stored order.
std::vector<std::vector<Arc>> texts_of(const fst::StdVectorFst& network) {
    std::vector<std::vector<Arc>> states(network.NumStates());
    for (int s = 0; s < network.NumStates(); ++s)
        for (fst::ArcIterator<fst::StdVectorFst> it(network, s); !it.Done(); it.Next())
            states[s].push_back({network.InputSymbols()->Find(it.Value().ilabel),
                                 network.OutputSymbols()->Find(it.Value().olabel),
                                 it.Value().nextstate});
    return states;
}

struct Reference {
    const fst::StdVectorFst& network;
    const std::vector<std::vector<Arc>>& arcs;
    const std::string& text;
    bool ranged;           // the text-range walk; otherwise the whole-word walk without budget
    bool anywhere = false; // a ranged walk whose matches may end anywhere

    struct Entry {
        int state;
        std::size_t arc;
        std::size_t pos;
        std::string output;
    };

    bool final(int state) const { return network.Final(state) != fst::TropicalWeight::Zero(); }
    bool accepts(std::size_t pos) const {
        if (!ranged)
            return pos == text.size();
        return anywhere || pos == text.size() || text[pos] == ' ';
    }

    Pairs pairs;
    std::set<std::string> words;

    // The whole-word output spelling.
    std::string spell(const std::vector<Entry>& stack, const std::string& last,
                      std::size_t end) const {
        std::string result;
        std::size_t cursor = 0;
        auto add = [&](const std::string& o) {
            if (o.empty() || o == "eps")
                return;
            if (o == "input") {
                if (result.empty())
                    result = text.substr(0, end);
                return;
            }
            if (o == "in") {
                if (cursor < text.size()) {
                    auto it = text.begin() + cursor;
                    const auto from = it;
                    utf8::next(it, text.end());
                    result.append(from, it);
                    cursor = it - text.begin();
                }
                return;
            }
            result += o;
            if (cursor < text.size()) {
                auto it = text.begin() + cursor;
                utf8::next(it, text.end());
                cursor = it - text.begin();
            }
        };
        for (const auto& e : stack)
            add(e.output);
        add(last);
        return result;
    }

    bool collect(const std::vector<Entry>& stack, const std::string& last, std::size_t end) {
        if (!ranged) {
            words.insert(spell(stack, last, end));
            return true;
        }
        if (pairs.size() > 20)
            return false;
        std::string joined;
        for (const auto& e : stack)
            if (e.output != "eps")
                joined += e.output;
        if (last != "eps")
            joined += last;
        pairs.emplace_back(static_cast<int>(end), joined);
        return true;
    }

    void run() {
        std::vector<Entry> stack;
        if (network.Start() == fst::kNoStateId)
            return;
        stack.push_back({network.Start(), 0, 0, ""});
        long steps = 0;
        while (!stack.empty()) {
            if (ranged && ++steps > 10000)
                return;
            Entry& top = stack.back();
            if (top.arc >= arcs[top.state].size()) {
                stack.pop_back();
                continue;
            }
            const Arc& arc = arcs[top.state][top.arc++];
            const std::string& a = arc.input;
            const std::string& o = arc.output;
            const std::size_t pos = top.pos;
            const bool fin = final(arc.target);
            if (a.empty())
                continue;
            if (a == "eps" || a == "EPS") {
                if (fin && accepts(pos) && !collect(stack, o, pos))
                    return;
                stack.push_back({arc.target, 0, pos, o});
                continue;
            }
            const bool is_class = a.size() >= 5 && a.front() == ':' && a.back() == ':';
            const bool is_marker = a.size() >= 5 && a.front() == '#';
            if (is_marker) {
                if (!fin)
                    stack.push_back({arc.target, 0, pos, o});
                else if (a.compare(0, 4, "#end") == 0 && accepts(pos)) {
                    if (!collect(stack, o, pos))
                        return;
                    if (!ranged)
                        stack.push_back({arc.target, 0, pos, o});
                }
                continue;
            }
            if (pos == text.size())
                continue;
            auto next_it = text.begin() + pos;
            const uint32_t next = utf8::next(next_it, text.end());
            std::size_t after = next_it - text.begin();
            bool consumed = false;
            if (a == "??")
                consumed = next != ' ';
            else if (is_class)
                consumed = dez::string::check_character_class(static_cast<int32_t>(next), a);
            else if (utf8::distance(a.begin(), a.end()) == 1)
                consumed = utf8::peek_next(a.begin(), a.end()) == next;
            else if (!ranged || a.size() <= 5) {
                consumed = text.compare(pos, a.size(), a) == 0;
                after = pos + a.size();
            }
            if (!consumed)
                continue;
            if (fin && accepts(after) && !collect(stack, o, after))
                return;
            stack.push_back({arc.target, 0, after, o});
        }
    }
};

std::shared_ptr<fst::StdVectorFst> random_network(std::mt19937& random, bool acyclic) {
    static const std::vector<std::string> inputs = {
        "a",     "b",     " ",  "1",      "eps",     "EPS", "??",      ":digit:",
        "#end1", "#mark", "ab", "abcdef", ":#a-b#:", "",    "\xc3\xa4"};
    static const std::vector<std::string> outputs = {"x", "y", "eps", "in", "input", "EPS", ""};
    HandNetwork hand;
    const int states = 1 + static_cast<int>(random() % 6);
    for (int s = 0; s < states; ++s)
        hand.add_state(random() % 3 == 0);
    hand.start(static_cast<int>(random() % states));
    const int arcs = static_cast<int>(random() % 25);
    for (int i = 0; i < arcs; ++i) {
        int from = static_cast<int>(random() % states);
        int to = static_cast<int>(random() % states);
        if (acyclic) {
            if (from == to)
                continue;
            if (from > to)
                std::swap(from, to);
        }
        const auto& input = inputs[random() % inputs.size()];
        const auto& output = outputs[random() % outputs.size()];
        if (input.empty())
            hand.raw_arc(from, to, 99, 0); // a label the table does not hold
        else
            hand.arc(from, to, input, output);
    }
    return hand.done();
}

std::string random_text(std::mt19937& random) {
    static const std::vector<std::string> chunks = {"a", "b", " ", "1", "#", "\xc3\xa4", "ab"};
    std::string text;
    const int length = static_cast<int>(random() % 6);
    for (int i = 0; i < length; ++i)
        text += chunks[random() % chunks.size()];
    return text;
}

TEST(WalkReference, RangeWalkGivesTheSameResultsInTheSameOrder) {
    std::mt19937 random(7);
    int compared_nonempty = 0;
    for (int round = 0; round < 120; ++round) {
        const auto network = random_network(random, false);
        const auto arcs = texts_of(*network);
        dez::afst::WordLookup lookup(network, nullptr);
        for (int t = 0; t < 5; ++t) {
            const std::string text = random_text(random);
            Reference reference{*network, arcs, text, true, false, {}, {}};
            reference.run();
            const auto fast = lookup.up(text.data(), text.data() + text.size(),
                                        dez::afst::WordLookup::end_on_space::off);
            ASSERT_EQ(fast, reference.pairs) << "round " << round << " [" << text << "]";
            compared_nonempty += !fast.empty();
        }
    }
    EXPECT_GT(compared_nonempty, 30);
}

// Reading a word backwards is reading its reversed code points forwards.
TEST(WalkReference, BackwardWalkGivesTheSameResultsInTheSameOrder) {
    using Matcher = dez::afst::BaseMatcher<
        dez::afst::ArcMatcher<dez::afst::ReverseCodePointInput, dez::afst::AlwasyTrueEndPolicy,
                              dez::afst::EndOffsetResultCollector>>;
    std::mt19937 random(13);
    int compared_nonempty = 0;
    for (int round = 0; round < 120; ++round) {
        const auto network = random_network(random, false);
        const auto arcs = texts_of(*network);
        dez::afst::AFst afst(network);
        Matcher matcher(afst);
        for (int t = 0; t < 5; ++t) {
            const std::string text = random_text(random);
            std::vector<uint32_t> code_points;
            utf8::utf8to32(text.begin(), text.end(), std::back_inserter(code_points));
            std::string reversed;
            utf8::utf32to8(code_points.rbegin(), code_points.rend(), std::back_inserter(reversed));

            Reference reference{*network, arcs, reversed, true, true, {}, {}};
            reference.run();
            for (auto& [offset, _] : reference.pairs)
                offset =
                    -static_cast<int>(utf8::distance(reversed.begin(), reversed.begin() + offset));

            Pairs fast;
            dez::afst::EndOffsetResultCollector collector(fast);
            matcher.match(dez::afst::ReverseCodePointInput(
                              code_points.data(), static_cast<uint32_t>(code_points.size())),
                          collector);
            ASSERT_EQ(fast, reference.pairs) << "round " << round << " [" << text << "]";
            compared_nonempty += !fast.empty();
        }
    }
    EXPECT_GT(compared_nonempty, 30);
}

TEST(WalkReference, WholeWordWalkGivesTheSameReadings) {
    std::mt19937 random(11);
    int compared_nonempty = 0;
    for (int round = 0; round < 1000; ++round) {
        const auto network = random_network(random, true);
        const auto arcs = texts_of(*network);
        dez::afst::WordLookup lookup(network, nullptr);
        for (int t = 0; t < 10; ++t) {
            const std::string text = random_text(random);
            Reference reference{*network, arcs, text, false, false, {}, {}};
            reference.run();
            const auto fast = lookup.up(text);
            ASSERT_EQ(fast,
                      std::vector<std::string>(reference.words.begin(), reference.words.end()))
                << "round " << round << " [" << text << "]";
            compared_nonempty += !fast.empty();
        }
    }
    EXPECT_GT(compared_nonempty, 30);
}

} // namespace

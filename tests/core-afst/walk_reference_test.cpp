// The fast walks (sorted keys, lazily read characters, passed arcs counted in
// bulk, outputs spelled as they go) against a plain walk that tries every arc
// of a state in turn, compares texts and spells a result from its whole path;
// and the whole-word walk over networks with cycles of arcs consuming nothing
// against the closure of every configuration a word can reach. Over random
// small networks and texts, and over a generated lexicon.

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
#include <deque>
#include <iterator>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using afst_test::HandNetwork;
using Pairs = std::vector<std::pair<int, std::string>>;

// How the plain walk reads an input text; worked out once per arc so that
// walks that run into the step budget stay cheap.
enum class Reading { skip, epsilon, marker, end_marker, any, character_class, character, text };

struct Arc {
    std::string input;
    std::string output;
    int target;
    Reading reading;
    uint32_t character; // Reading::character
};

Reading reading_of(const std::string& a) {
    if (a.empty())
        return Reading::skip;
    if (a == "eps" || a == "EPS")
        return Reading::epsilon;
    if (a.size() >= 5 && a.front() == '#')
        return a.compare(0, 4, "#end") == 0 ? Reading::end_marker : Reading::marker;
    if (a == "??")
        return Reading::any;
    if (a.size() >= 5 && a.front() == ':' && a.back() == ':')
        return Reading::character_class;
    return utf8::distance(a.begin(), a.end()) == 1 ? Reading::character : Reading::text;
}

// Every state's arcs with their texts, in stored order.
std::vector<std::vector<Arc>> texts_of(const fst::StdVectorFst& network) {
    std::vector<std::vector<Arc>> states(network.NumStates());
    for (int s = 0; s < network.NumStates(); ++s)
        for (fst::ArcIterator<fst::StdVectorFst> it(network, s); !it.Done(); it.Next()) {
            Arc arc{network.InputSymbols()->Find(it.Value().ilabel),
                    network.OutputSymbols()->Find(it.Value().olabel), it.Value().nextstate,
                    Reading::skip, 0};
            arc.reading = reading_of(arc.input);
            if (arc.reading == Reading::character)
                arc.character = utf8::peek_next(arc.input.begin(), arc.input.end());
            states[s].push_back(std::move(arc));
        }
    return states;
}

// One output added to a whole-word reading: `cursor` is the byte offset the
// spelling has reached in the word.
void spell_one(std::string& result, std::size_t& cursor, const std::string& text,
               const std::string& o) {
    if (o.empty() || o == "eps")
        return;
    if (o == "input") {
        if (result.empty())
            result = text;
        return;
    }
    auto step = [&] {
        auto it = text.begin() + cursor;
        utf8::next(it, text.end());
        cursor = it - text.begin();
    };
    if (o == "in") {
        if (cursor < text.size()) {
            const std::size_t from = cursor;
            step();
            result.append(text, from, cursor - from);
        }
        return;
    }
    result += o;
    if (cursor < text.size())
        step();
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
        const std::string* output;
    };

    bool final(int state) const { return network.Final(state) != fst::TropicalWeight::Zero(); }
    bool accepts(std::size_t pos) const {
        if (!ranged)
            return pos == text.size();
        return anywhere || pos == text.size() || text[pos] == ' ';
    }

    Pairs pairs;
    std::set<std::string> words;

    // The whole-word output spelling, from the whole path.
    std::string spell(const std::vector<Entry>& stack, const std::string& last) const {
        std::string result;
        std::size_t cursor = 0;
        for (const auto& e : stack)
            spell_one(result, cursor, text, *e.output);
        spell_one(result, cursor, text, last);
        return result;
    }

    bool collect(const std::vector<Entry>& stack, const std::string& last, std::size_t end) {
        if (!ranged) {
            words.insert(spell(stack, last));
            return true;
        }
        if (pairs.size() > 20)
            return false;
        std::string joined;
        for (const auto& e : stack)
            if (*e.output != "eps")
                joined += *e.output;
        if (last != "eps")
            joined += last;
        pairs.emplace_back(static_cast<int>(end), joined);
        return true;
    }

    void run() {
        static const std::string no_output;
        std::vector<Entry> stack;
        if (network.Start() == fst::kNoStateId)
            return;
        stack.push_back({network.Start(), 0, 0, &no_output});
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
            const std::string& o = arc.output;
            const std::size_t pos = top.pos;
            const bool fin = final(arc.target);
            switch (arc.reading) {
            case Reading::skip:
                continue;
            case Reading::epsilon:
                if (fin && accepts(pos) && !collect(stack, o, pos))
                    return;
                stack.push_back({arc.target, 0, pos, &o});
                continue;
            case Reading::marker:
            case Reading::end_marker:
                if (!fin)
                    stack.push_back({arc.target, 0, pos, &o});
                else if (arc.reading == Reading::end_marker && accepts(pos)) {
                    if (!collect(stack, o, pos))
                        return;
                    if (!ranged)
                        stack.push_back({arc.target, 0, pos, &o});
                }
                continue;
            default:
                break;
            }
            if (pos == text.size())
                continue;
            auto next_it = text.begin() + pos;
            const uint32_t next = utf8::next(next_it, text.end());
            std::size_t after = next_it - text.begin();
            bool consumed = false;
            if (arc.reading == Reading::any)
                consumed = next != ' ';
            else if (arc.reading == Reading::character_class)
                consumed =
                    dez::string::check_character_class(static_cast<int32_t>(next), arc.input);
            else if (arc.reading == Reading::character)
                consumed = arc.character == next;
            else if (!ranged || arc.input.size() <= 5) {
                consumed = text.compare(pos, arc.input.size(), arc.input) == 0;
                after = pos + arc.input.size();
            }
            if (!consumed)
                continue;
            if (fin && accepts(after) && !collect(stack, o, after))
                return;
            stack.push_back({arc.target, 0, after, &o});
        }
    }
};

// The whole-word readings of `text` as a closure: every configuration (state,
// position, reading so far, spelling cursor) the word reaches, breadth first,
// each once. Finite as long as no cycle of arcs consuming nothing adds text.
std::set<std::string> closure_readings(const fst::StdVectorFst& network,
                                       const std::vector<std::vector<Arc>>& arcs,
                                       const std::string& text) {
    using Config = std::tuple<int, std::size_t, std::string, std::size_t>;
    std::set<std::string> readings;
    if (network.Start() == fst::kNoStateId)
        return readings;
    std::set<Config> seen{{network.Start(), 0, "", 0}};
    std::deque<Config> todo(seen.begin(), seen.end());
    auto final = [&](int s) { return network.Final(s) != fst::TropicalWeight::Zero(); };
    while (!todo.empty()) {
        const auto [state, pos, spelled, cursor] = todo.front();
        todo.pop_front();
        for (const Arc& arc : arcs[state]) {
            std::size_t to = pos;
            bool walk_on = true;
            bool collects = false;
            switch (arc.reading) {
            case Reading::skip:
                continue;
            case Reading::epsilon:
                collects = final(arc.target) && pos == text.size();
                break;
            case Reading::marker:
                walk_on = !final(arc.target);
                break;
            case Reading::end_marker:
                collects = final(arc.target) && pos == text.size();
                walk_on = !final(arc.target) || collects;
                break;
            default: {
                if (pos == text.size())
                    continue;
                auto it = text.begin() + pos;
                const uint32_t next = utf8::next(it, text.end());
                to = it - text.begin();
                bool consumed = false;
                if (arc.reading == Reading::any)
                    consumed = next != ' ';
                else if (arc.reading == Reading::character_class)
                    consumed =
                        dez::string::check_character_class(static_cast<int32_t>(next), arc.input);
                else if (arc.reading == Reading::character)
                    consumed = arc.character == next;
                else {
                    consumed = text.compare(pos, arc.input.size(), arc.input) == 0;
                    to = pos + arc.input.size();
                }
                if (!consumed)
                    continue;
                collects = final(arc.target) && to == text.size();
            }
            }
            std::string next_spelled = spelled;
            std::size_t next_cursor = cursor;
            spell_one(next_spelled, next_cursor, text, arc.output);
            if (collects)
                readings.insert(next_spelled);
            if (walk_on) {
                Config next{arc.target, to, std::move(next_spelled), next_cursor};
                if (seen.insert(next).second)
                    todo.push_back(std::move(next));
            }
        }
    }
    return readings;
}

enum class Shape {
    any,     // cycles of every kind
    acyclic, // arcs only go to later states
    quiet,   // cycles, but arcs consuming nothing add no text to a reading
};

std::shared_ptr<fst::StdVectorFst> random_network(std::mt19937& random, Shape shape) {
    static const std::vector<std::string> inputs = {
        "a",     "b",     " ",  "1",      "eps",     "EPS", "??",      ":digit:",
        "#end1", "#mark", "ab", "abcdef", ":#a-b#:", "",    "\xc3\xa4"};
    static const std::vector<std::string> outputs = {"x", "y", "eps", "in", "input", "EPS", ""};
    static const std::vector<std::string> quiet_outputs = {"eps", "in", "input", ""};
    HandNetwork hand;
    const int states = 1 + static_cast<int>(random() % 6);
    for (int s = 0; s < states; ++s)
        hand.add_state(random() % 3 == 0);
    hand.start(static_cast<int>(random() % states));
    const int arcs = static_cast<int>(random() % 25);
    for (int i = 0; i < arcs; ++i) {
        int from = static_cast<int>(random() % states);
        int to = static_cast<int>(random() % states);
        if (shape == Shape::acyclic) {
            if (from == to)
                continue;
            if (from > to)
                std::swap(from, to);
        }
        const auto& input = inputs[random() % inputs.size()];
        const bool consumes_nothing = input == "eps" || input == "EPS" || input[0] == '#';
        const auto& output = shape == Shape::quiet && consumes_nothing
                                 ? quiet_outputs[random() % quiet_outputs.size()]
                                 : outputs[random() % outputs.size()];
        if (input.empty())
            hand.raw_arc(from, to, 99, 0); // a label the table does not hold
        else
            hand.arc(from, to, input, output);
    }
    return hand.done();
}

// At most `chunks_most` chunks: over cycles, longer texts have readings by the
// ten thousand.
std::string random_text(std::mt19937& random, int chunks_most = 5) {
    static const std::vector<std::string> chunks = {"a", "b", " ", "1", "#", "\xc3\xa4", "ab"};
    std::string text;
    const int length = static_cast<int>(random() % (chunks_most + 1));
    for (int i = 0; i < length; ++i)
        text += chunks[random() % chunks.size()];
    return text;
}

// Checks `texts` random texts of at most `chunks_most` chunks on each of
// `rounds` random networks of `shape`. `make(network, arcs)` gives the check
// for one network; a check tells through its second argument whether the
// fast walk found anything, which enough texts must. Stops at the first
// failure.
template <class Make>
void over_random_networks(unsigned seed, int rounds, Shape shape, int texts, int chunks_most,
                          Make make) {
    std::mt19937 random(seed);
    int compared_nonempty = 0;
    for (int round = 0; round < rounds; ++round) {
        const auto network = random_network(random, shape);
        const auto arcs = texts_of(*network);
        auto check = make(network, arcs);
        for (int t = 0; t < texts; ++t) {
            const std::string text = random_text(random, chunks_most);
            SCOPED_TRACE("round " + std::to_string(round) + " [" + text + "]");
            bool found = false;
            check(text, found);
            if (::testing::Test::HasFatalFailure())
                return;
            compared_nonempty += found;
        }
    }
    EXPECT_GT(compared_nonempty, 30);
}

using Network = std::shared_ptr<fst::StdVectorFst>;
using Arcs = std::vector<std::vector<Arc>>;

TEST(WalkReference, RangeWalkGivesTheSameResultsInTheSameOrder) {
    over_random_networks(7, 120, Shape::any, 5, 5, [](const Network& network, const Arcs& arcs) {
        auto lookup = std::make_shared<dez::afst::WordLookup>(network, nullptr);
        return [&network, &arcs, lookup](const std::string& text, bool& found) {
            Reference reference{*network, arcs, text, true, false, {}, {}};
            reference.run();
            const auto fast = lookup->up(text.data(), text.data() + text.size(),
                                         dez::afst::WordLookup::end_on_space::off);
            ASSERT_EQ(fast, reference.pairs);
            found = !fast.empty();
        };
    });
}

// Reading a word backwards is reading its reversed code points forwards.
TEST(WalkReference, BackwardWalkGivesTheSameResultsInTheSameOrder) {
    using Matcher = dez::afst::BaseMatcher<
        dez::afst::ArcMatcher<dez::afst::ReverseCodePointInput, dez::afst::AlwasyTrueEndPolicy,
                              dez::afst::EndOffsetResultCollector>>;
    over_random_networks(13, 120, Shape::any, 5, 5, [](const Network& network, const Arcs& arcs) {
        auto afst = std::make_shared<dez::afst::AFst>(network);
        auto matcher = std::make_shared<Matcher>(*afst);
        return [&network, &arcs, afst, matcher](const std::string& text, bool& found) {
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
            matcher->match(dez::afst::ReverseCodePointInput(
                               code_points.data(), static_cast<uint32_t>(code_points.size())),
                           collector);
            ASSERT_EQ(fast, reference.pairs);
            found = !fast.empty();
        };
    });
}

TEST(WalkReference, WholeWordWalkGivesTheSameReadings) {
    over_random_networks(
        11, 1000, Shape::acyclic, 10, 5, [](const Network& network, const Arcs& arcs) {
            auto lookup = std::make_shared<dez::afst::WordLookup>(network, nullptr);
            return [&network, &arcs, lookup](const std::string& text, bool& found) {
                Reference reference{*network, arcs, text, false, false, {}, {}};
                reference.run();
                const auto fast = lookup->up(text);
                ASSERT_EQ(fast,
                          std::vector<std::string>(reference.words.begin(), reference.words.end()));
                found = !fast.empty();
            };
        });
}

// Cycles of arcs consuming nothing and many ways through them: no budget
// cuts the whole-word walk short, and nothing is lost by not walking twice
// from the same configuration. The tag lookup's form (results in the order
// found) reaches the same readings.
TEST(WalkReference, WholeWordWalkOverCyclesGivesEveryReading) {
    using ChunkWalk = dez::afst::AFSTBaseMatcher<
        dez::afst::AFSTArcMatcher<dez::afst::Utf8Input, dez::afst::DefaultIteratorPolicy,
                                  dez::afst::ResultCollectorUnsorted>>;
    over_random_networks(17, 600, Shape::quiet, 6, 3, [](const Network& network, const Arcs& arcs) {
        auto lookup = std::make_shared<dez::afst::WordLookup>(network, nullptr);
        auto chunk_walk = std::make_shared<ChunkWalk>(*lookup->afst());
        return [&network, &arcs, lookup, chunk_walk](const std::string& text, bool& found) {
            const auto expected = closure_readings(*network, arcs, text);
            const auto fast = lookup->up(text);
            ASSERT_EQ(fast, std::vector<std::string>(expected.begin(), expected.end()));
            std::vector<std::string> in_order;
            dez::afst::ResultCollectorUnsorted collector(in_order);
            chunk_walk->match(text, collector);
            ASSERT_EQ(std::set<std::string>(in_order.begin(), in_order.end()), expected);
            found = !fast.empty();
        };
    });
}

// A generated lexicon the way the lexicon build makes one: every word of it
// and words it does not hold answer as the plain walk answers.
TEST(WalkReference, GeneratedLexiconAnswersAsThePlainWalk) {
    static const char* const syllables[] = {"ka",  "lo",  "mi", "ter",       "an",
                                            "sul", "pre", "do", "\xc3\xa4u", "go"};
    static const char* const tags[] = {"[+Nn-Sg]", "[+V-Inf]", "[+Adj]"};
    std::mt19937 random(23);
    auto word = [&] {
        std::string w;
        for (int i = 0, n = 1 + static_cast<int>(random() % 4); i < n; ++i)
            w += syllables[random() % 10];
        return w;
    };
    std::set<std::string> unique;
    while (unique.size() < 1500)
        unique.insert(word());
    std::vector<std::string> lines;
    for (const auto& w : unique)
        lines.push_back(w + ":" + w + tags[random() % 3]);
    const auto network = afst_test::build_lexicon(lines);
    const auto arcs = texts_of(*network);
    dez::afst::WordLookup lookup(network, nullptr);

    std::vector<std::string> tokens(unique.begin(), unique.end());
    for (int i = 0; i < 500; ++i)
        tokens.push_back(word());
    int found = 0;
    for (const auto& token : tokens) {
        Reference whole{*network, arcs, token, false, false, {}, {}};
        whole.run();
        const auto readings = lookup.up(token);
        ASSERT_EQ(readings, std::vector<std::string>(whole.words.begin(), whole.words.end()))
            << token;
        found += !readings.empty();

        const std::string text = token + " " + token;
        Reference ranged{*network, arcs, text, true, false, {}, {}};
        ranged.run();
        ASSERT_EQ(lookup.up(text.data(), text.data() + text.size(),
                            dez::afst::WordLookup::end_on_space::off),
                  ranged.pairs)
            << token;
    }
    EXPECT_GE(found, 1500);
}

} // namespace

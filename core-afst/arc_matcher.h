#pragma once

#include "core-afst/state_item.h"
#include "core-afst/symbol_traits.h"
#include "core-afst/walk_network.h"
#include "core-afst/walk_reports.h"

#include "foundation/code_point_classes.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

namespace dez::afst {

// The depth-first lookup walk over a WalkNetwork, in its forms. A form is
// named by an arc-rule bundle: the input it steps through, the end rule, the
// collector (which also says how outputs are spelled), the label-text source
// and the points where the ranged walks (text range, endings, compounds) and
// the whole-word walk differ.
//
// The arc rule, per arc of the top entry's state, with `next` the character
// at the entry's position:
// - "eps"/"EPS": consumes nothing; collects when the target is final and the
//   end rule accepts here; always walks on to the target.
// - one code point equal to `next`, "??" and `next` not a space, a class
//   that holds `next`, or a literal the input spells from here: consumes
//   what it matched; collects when the target is final and the end rule
//   accepts after it; walks on to the target from after it.
// - a marker ('#' and five bytes or more): consumes nothing; walks on to a
//   target that is not final; into a final target a "#end" marker collects
//   when the end rule accepts here.
// - anything else: skipped.

// The ranged walks end after this many steps with what they found.
inline constexpr long walk_step_limit = 10000;

// The ranged walks.
template <class InputT, class EndPolicyT, class CollectorT,
          class SymbolTraitsT = DefauldSymbolTraits>
struct ArcMatcher {
    using Input = InputT;
    using EndPolicy = EndPolicyT;
    using Collector = CollectorT;
    using SymbolTraits = SymbolTraitsT;
    // A literal text of more than five bytes never matches (a class still does).
    static constexpr bool long_literals = false;
    // A "#end" arc that collects does not walk on.
    static constexpr bool push_after_end_marker = false;
    // Every arc of a state is a step, also those the sorted keys pass over
    // unread, so the budget runs out where a walk trying every arc in turn
    // would stop.
    static constexpr bool counts_passed_arcs = true;
    static constexpr bool whole_word = false;
};

// The whole-word walk. It has no step budget: it never re-enters a
// configuration (state, position, output so far) that is on its path through
// arcs consuming nothing, and once a word has cost it many steps it
// remembers every configuration it has walked from and does not walk from
// one again. Both leave the readings as they were, since a configuration
// answers the same wherever the walk comes from. A cycle of arcs consuming
// nothing that keeps adding output would spell ever longer readings; the
// walk goes round it only as often as a cycle without such output could
// change the spelling, and logs the cut.
template <class InputT, class EndPolicyT, class CollectorT,
          class SymbolTraitsT = AFSTDefauldSymbolTraits>
struct AFSTArcMatcher {
    using Input = InputT;
    using EndPolicy = EndPolicyT;
    using Collector = CollectorT;
    using SymbolTraits = SymbolTraitsT;
    static constexpr bool long_literals = true;
    static constexpr bool push_after_end_marker = true;
    static constexpr bool counts_passed_arcs = false;
    static constexpr bool whole_word = true;
};

namespace detail {

// Steps after which the whole-word walk starts remembering configurations:
// far above what a word over a deterministic lexicon takes.
inline constexpr long walk_memo_after = 4096;

template <class Matcher> class Walk {
public:
    using Input = typename Matcher::Input;
    using Position = typename Input::Position;
    using Item = StateItem<Position>;
    using Scratch = WalkScratch<Position>;
    using Collector = typename Matcher::Collector;
    using Spelling = typename Collector::Spelling;

    // Walks `input` from the start state and leaves the stack empty.
    static void run(const WalkNetwork& network, Scratch& scratch, const Input& input,
                    Collector& collector) {
        Walk walk(network, scratch, input, collector);
        walk.run();
    }

private:
    // An arc the cursor hands out: its stored words, how its input label
    // reads (null for a keyed arc: one code point, the one read), its output.
    struct Arc {
        uint32_t position;
        const uint32_t* words;
        const LabelReading* reading;
        uint32_t output;
        bool labels_inside;
    };

    Walk(const WalkNetwork& network, Scratch& scratch, const Input& input, Collector& collector)
        : network_(network), stack_(scratch.stack), text_(scratch.text), input_(input),
          collector_(collector) {}

    void run() {
        stack_.clear();
        text_.clear();
        if (network_.start == WalkNetwork::no_node)
            return;
        stack_.push_back(Item{network_.start, 0, 0, input_.start(), {}});
        long steps = 0;
        while (!stack_.empty()) {
            Item& top = stack_.back();
            Arc arc;
            const bool has_node = top.node != WalkNetwork::no_node;
            const bool found = has_node && next_arc(top, arc);
            if (Matcher::counts_passed_arcs && has_node)
                steps += (found ? arc.position : network_.arc_count(top.node)) - top.arcs.arc;
            ++steps;
            if constexpr (!Matcher::whole_word)
                if (steps > walk_step_limit) {
                    report_walk_step_limit(walk_step_limit);
                    stack_.clear();
                    return;
                }
            if constexpr (Matcher::whole_word)
                if (!memo_ && steps > walk_memo_after)
                    memo_ = std::make_unique<std::unordered_set<std::string>>();
            if (!found) {
                stack_.pop_back();
                continue;
            }
            top.arcs.arc = arc.position + 1;
            if (!take(arc)) {
                stack_.clear();
                return;
            }
        }
    }

    // The smallest stored position among the node's keyed arcs.
    uint32_t first_key(uint32_t node) const {
        const uint32_t* keys = network_.keys(node);
        uint32_t first = WalkNetwork::no_node;
        for (uint32_t k = 0, count = network_.key_count(node); k < count; ++k)
            first = std::min(first, keys[2 * k + 1]);
        return first;
    }

    // The next arc, in stored order, that may act on the entry's position:
    // the merge of the keyed arcs for the character there and the others.
    bool next_arc(Item& top, Arc& out) {
        auto& cursor = top.arcs;
        const uint32_t node = top.node;
        const uint32_t* other = cursor.other < network_.other_count(node)
                                    ? network_.others(node) + 3 * cursor.other
                                    : nullptr;
        if (!cursor.read) {
            const bool needed =
                other ? network_.readings[other[1]].reads_character() || first_key(node) < other[0]
                      : network_.key_count(node) != 0;
            if (!needed) {
                if (!other)
                    return false;
                ++cursor.other;
                out = other_arc(node, other);
                return true;
            }
            read_next(top);
        }
        if (cursor.key < cursor.key_end) {
            const uint32_t position = network_.keys(node)[2 * cursor.key + 1];
            if (!other || position < other[0]) {
                ++cursor.key;
                const uint32_t* words = network_.arc(node, position);
                out = Arc{position, words, nullptr, words[1], true};
                return true;
            }
        }
        if (!other)
            return false;
        ++cursor.other;
        out = other_arc(node, other);
        return true;
    }

    Arc other_arc(uint32_t node, const uint32_t* other) const {
        return Arc{other[0], network_.arc(node, other[0]), &network_.readings[other[1]],
                   other[2] & ~WalkNetwork::labels_inside,
                   (other[2] & WalkNetwork::labels_inside) != 0};
    }

    void read_next(Item& top) {
        auto& cursor = top.arcs;
        cursor.read = true;
        if (input_.at_end(top.pos))
            return;
        cursor.next = input_.read(top.pos, cursor.after);
        cursor.has_next = true;
        // The keyed arcs of that code point: a binary search over the pairs.
        const uint32_t* keys = network_.keys(top.node);
        uint32_t low = 0, high = network_.key_count(top.node);
        while (low < high) {
            const uint32_t middle = (low + high) / 2;
            if (keys[2 * middle] < cursor.next)
                low = middle + 1;
            else
                high = middle;
        }
        uint32_t end = low;
        while (end < network_.key_count(top.node) && keys[2 * end] == cursor.next)
            ++end;
        cursor.key = low;
        cursor.key_end = end;
    }

    bool matches(const LabelReading& reading, const Item& top, Position& after) const {
        const auto& cursor = top.arcs;
        if (!cursor.has_next)
            return false;
        after = cursor.after;
        switch (reading.kind) {
        case ArcKind::any:
            return cursor.next != 0x20;
        case ArcKind::character:
            return reading.first == cursor.next;
        case ArcKind::char_class: {
            const auto test = network_.class_tests[reading.extra];
            const auto c = static_cast<int32_t>(cursor.next);
            return test ? test(c) : dez::string::check_character_class(c, *reading.text);
        }
        case ArcKind::literal:
            if (!Matcher::long_literals && !reading.has(LabelReading::short_text))
                return false;
            return input_.spells(top.pos, *reading.text,
                                 &network_.literal_code_points[reading.extra], after);
        default:
            return false;
        }
    }

    // The text of the path up to the top entry with `output` added; `cursor`
    // comes in as the top entry's and leaves as the new entry's.
    void spell(const Item& top, const OutputText& output, uint32_t& cursor) {
        text_.resize(top.text);
        cursor = top.cursor;
        Spelling::append(text_, cursor, output, input_);
    }

    bool collect(Position end) { return collector_.collect(text_, input_, end); }

    // Walks on to `target` from `position` with the text spelled last.
    void push(uint32_t target, Position position, uint32_t cursor, bool consumed) {
        const auto length = static_cast<uint32_t>(text_.size());
        if constexpr (Matcher::whole_word) {
            if (!consumed && !enter_without_consuming(target, position, length, cursor))
                return;
            if (memo_ && !remember(target, position, length, cursor))
                return;
        }
        stack_.push_back(Item{target, length, cursor, position, {}});
    }

    // Whether the path may enter (target, position) with this spelling
    // through an arc consuming nothing. The entries at this position form
    // the top of the stack.
    bool enter_without_consuming(uint32_t target, Position position, uint32_t length,
                                 uint32_t cursor) {
        uint32_t visits = 0;
        for (auto it = stack_.rbegin(); it != stack_.rend() && it->pos == position; ++it) {
            if (it->node != target)
                continue;
            // Texts along a path only grow, so equal lengths are equal texts.
            if (it->text == length && it->cursor == cursor)
                return false;
            ++visits;
        }
        // Without output on the cycle only "in" (once per code point) and
        // "input" (once) change the spelling; more visits than that come
        // from a cycle that adds output for ever.
        if (visits < code_points() + 2)
            return true;
        if (!cycle_cut_) {
            cycle_cut_ = true;
            report_walk_cycle_cut();
        }
        return false;
    }

    uint32_t code_points() {
        if (code_points_ < 0) {
            code_points_ = 0;
            for (const char* at = input_.begin(); at != input_.end(); ++at)
                code_points_ += (static_cast<unsigned char>(*at) & 0xC0) != 0x80;
        }
        return static_cast<uint32_t>(code_points_);
    }

    bool remember(uint32_t target, Position position, uint32_t length, uint32_t cursor) {
        std::string key(3 * sizeof(uint32_t) + length, '\0');
        const uint32_t head[3] = {target, static_cast<uint32_t>(input_.offset(position)), cursor};
        std::memcpy(key.data(), head, sizeof head);
        std::memcpy(key.data() + sizeof head, text_.data(), length);
        return memo_->insert(std::move(key)).second;
    }

    // Applies the arc rule; false ends the walk.
    bool take(const Arc& arc) {
        if (!Matcher::SymbolTraits::usable(arc.labels_inside))
            return true;
        const Item& top = stack_.back();
        const Position position = top.pos;
        const OutputText& output = network_.outputs[arc.output];
        const uint32_t target = arc.words[2];
        const bool final = target != WalkNetwork::no_node && network_.final(target);
        uint32_t cursor = 0;
        const ArcKind kind = arc.reading ? arc.reading->kind : ArcKind::character;
        switch (kind) {
        case ArcKind::none:
            return true;
        case ArcKind::epsilon:
            spell(top, output, cursor);
            if (final && Matcher::EndPolicy::accepts(input_, position) && !collect(position))
                return false;
            push(target, position, cursor, false);
            return true;
        case ArcKind::marker:
            if (!final) {
                spell(top, output, cursor);
                push(target, position, cursor, false);
            } else if (arc.reading->has(LabelReading::end_marker) &&
                       Matcher::EndPolicy::accepts(input_, position)) {
                spell(top, output, cursor);
                if (!collect(position))
                    return false;
                if (Matcher::push_after_end_marker)
                    push(target, position, cursor, false);
            }
            return true;
        default:
            break;
        }
        Position after{};
        if (arc.reading) {
            if (!matches(*arc.reading, top, after))
                return true;
        } else {
            after = top.arcs.after; // keyed: found by the character itself
        }
        spell(top, output, cursor);
        if (final && Matcher::EndPolicy::accepts(input_, after) && !collect(after))
            return false;
        push(target, after, cursor, true);
        return true;
    }

    const WalkNetwork& network_;
    std::vector<Item>& stack_;
    std::string& text_;
    const Input& input_;
    Collector& collector_;
    std::unique_ptr<std::unordered_set<std::string>> memo_;
    long code_points_ = -1;
    bool cycle_cut_ = false;
};

} // namespace detail

} // namespace dez::afst

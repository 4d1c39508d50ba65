#pragma once

#include "core-afst/state_item.h"
#include "core-afst/symbol_traits.h"
#include "core-afst/walk_network.h"

#include "foundation/code_point_classes.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace dez::afst {

// The depth-first lookup walk over a WalkNetwork, in its forms. A form is
// named by an arc-rule bundle: the input it steps through, the end rule, the
// collector, the label-text source and the points where the ranged walks
// (text range, endings, compounds) and the whole-word walk differ.
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

// Every walk ends after this many steps with what it found.
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
};

// The whole-word walk. Arcs it passes over cost no step: the budget bounds
// the work on cycles of arcs that consume nothing, whatever a state's
// fan-out.
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
};

namespace detail {

template <class Matcher> class Walk {
public:
    using Input = typename Matcher::Input;
    using Position = typename Input::Position;
    using Item = StateItem<Position>;
    using Stack = std::vector<Item>;
    using Collector = typename Matcher::Collector;

    // Empties `stack`, walks `input` from the start state and leaves `stack`
    // empty.
    static void run(const WalkNetwork& network, Stack& stack, const Input& input,
                    Collector& collector) {
        stack.clear();
        if (!network.state(network.start))
            return;
        stack.push_back(Item{network.start, {}, input.start(), &no_output});
        long steps = 0;
        while (!stack.empty()) {
            Item& top = stack.back();
            const WalkState* state = network.state(top.state);
            const WalkArc* arc = state ? next_arc(network, *state, top, input) : nullptr;
            if (Matcher::counts_passed_arcs && state)
                steps += (arc ? arc->index : state->arc_count) - top.arcs.arc;
            if (++steps > walk_step_limit) {
                stack.clear();
                return;
            }
            if (!arc) {
                stack.pop_back();
                continue;
            }
            top.arcs.arc = arc->index + 1;
            if (!take(network, stack, *arc, input, collector)) {
                stack.clear();
                return;
            }
        }
    }

private:
    struct ByCodePoint {
        bool operator()(const WalkArc& arc, uint32_t code_point) const {
            return arc.first < code_point;
        }
        bool operator()(uint32_t code_point, const WalkArc& arc) const {
            return code_point < arc.first;
        }
    };

    // The next arc, in stored order, that may act on the entry's position:
    // the merge of the keyed arcs for the character there and the others.
    static const WalkArc* next_arc(const WalkNetwork& network, const WalkState& state, Item& top,
                                   const Input& input) {
        auto& cursor = top.arcs;
        const WalkArc* special = cursor.special < state.special_count
                                     ? &network.arcs[state.arcs + state.key_count + cursor.special]
                                     : nullptr;
        if (!cursor.read) {
            const bool needed = special
                                    ? state.first_key < special->index || special->reads_character()
                                    : state.first_key != WalkNetwork::no_arc;
            if (!needed) {
                if (special)
                    ++cursor.special;
                return special;
            }
            read_next(network, state, top, input);
        }
        const WalkArc* key = cursor.key < cursor.key_end ? &network.arcs[cursor.key] : nullptr;
        if (key && (!special || key->index < special->index)) {
            ++cursor.key;
            return key;
        }
        if (special)
            ++cursor.special;
        return special;
    }

    static void read_next(const WalkNetwork& network, const WalkState& state, Item& top,
                          const Input& input) {
        auto& cursor = top.arcs;
        cursor.read = true;
        if (input.at_end(top.pos))
            return;
        cursor.next = input.read(top.pos, cursor.after);
        cursor.has_next = true;
        const auto first = network.arcs.begin() + state.arcs;
        const auto range =
            std::equal_range(first, first + state.key_count, cursor.next, ByCodePoint{});
        cursor.key = static_cast<uint32_t>(range.first - network.arcs.begin());
        cursor.key_end = static_cast<uint32_t>(range.second - network.arcs.begin());
    }

    static bool matches(const WalkNetwork& network, const WalkArc& arc, const Item& top,
                        const Input& input, Position& after) {
        const auto& cursor = top.arcs;
        if (!cursor.has_next)
            return false;
        after = cursor.after;
        switch (arc.kind) {
        case ArcKind::any:
            return cursor.next != 0x20;
        case ArcKind::character:
            return arc.first == cursor.next;
        case ArcKind::char_class: {
            const auto test = network.class_tests[arc.extra];
            const auto c = static_cast<int32_t>(cursor.next);
            return test ? test(c)
                        : dez::string::check_character_class(c, *network.input_texts[arc.input]);
        }
        case ArcKind::literal:
            if (!Matcher::long_literals && !arc.has(WalkArc::short_text))
                return false;
            return input.spells(top.pos, *network.input_texts[arc.input],
                                &network.literal_code_points[arc.extra], after);
        default:
            return false;
        }
    }

    static void push(Stack& stack, int target, Position position, const OutputText* output) {
        stack.push_back(Item{target, {}, position, output});
    }

    // Applies the arc rule; false ends the walk.
    static bool take(const WalkNetwork& network, Stack& stack, const WalkArc& arc,
                     const Input& input, Collector& collector) {
        if (!Matcher::SymbolTraits::usable(arc))
            return true;
        const Item& top = stack.back();
        const Position position = top.pos;
        const OutputText* output = &network.outputs[arc.output];
        const bool final = arc.has(WalkArc::target_final);
        switch (arc.kind) {
        case ArcKind::none:
            return true;
        case ArcKind::epsilon:
            if (final && Matcher::EndPolicy::accepts(input, position) &&
                !collector.collect(stack, *output, input, position))
                return false;
            push(stack, arc.target, position, output);
            return true;
        case ArcKind::marker:
            if (!final) {
                push(stack, arc.target, position, output);
            } else if (arc.has(WalkArc::end_marker) &&
                       Matcher::EndPolicy::accepts(input, position)) {
                if (!collector.collect(stack, *output, input, position))
                    return false;
                if (Matcher::push_after_end_marker)
                    push(stack, arc.target, position, output);
            }
            return true;
        default:
            break;
        }
        Position after{};
        if (!matches(network, arc, top, input, after))
            return true;
        if (final && Matcher::EndPolicy::accepts(input, after) &&
            !collector.collect(stack, *output, input, after))
            return false;
        push(stack, arc.target, after, output);
        return true;
    }
};

} // namespace detail

} // namespace dez::afst

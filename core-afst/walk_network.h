#pragma once

#include "foundation/code_point_classes.h"

#include <cstdint>
#include <deque>
#include <limits>
#include <string>
#include <vector>

namespace dez::afst {

// A loaded transducer in the form the lookup walks read it: every arc's input
// text classified once, the output texts pointed to, and each state's
// character arcs sorted by code point so that a walk finds the arcs that can
// take the next character without comparing strings, near the others.

// How an arc's input text is read.
enum class ArcKind : uint8_t {
    none,       // matches nothing (empty text, unknown class, not UTF-8)
    epsilon,    // "eps" or "EPS": consumes nothing
    any,        // "??": any character but the space
    character,  // one code point
    literal,    // several code points: the input must spell all of them
    char_class, // ":name:" or ":#items#:"
    marker,     // five bytes or more beginning with '#': consumes nothing
};

// What an output text means to the collectors.
enum class OutputKind : uint8_t { empty, eps, in, input, text };

struct OutputText {
    const std::string* text;
    OutputKind kind;
};

// The output of a walk's start entry.
inline const std::string empty_output_text;
inline const OutputText no_output{&empty_output_text, OutputKind::empty};

struct WalkArc {
    static constexpr uint8_t target_final = 1;
    static constexpr uint8_t labels_in_texts = 2; // both labels lie inside the AFst text vectors
    static constexpr uint8_t end_marker = 4;      // a marker beginning with "#end"
    static constexpr uint8_t short_text = 8;      // input text of at most 5 bytes

    int32_t target;
    uint32_t index;  // position among the state's arcs in stored order
    uint32_t first;  // character, literal: the first code point
    uint32_t input;  // index into WalkNetwork::input_texts
    uint32_t output; // index into WalkNetwork::outputs
    uint32_t extra;  // char_class: index into class_tests; literal: offset into literal_code_points
    ArcKind kind;
    uint8_t flags;

    bool has(uint8_t flag) const { return (flags & flag) != 0; }
    // Whether the rule looks at the next character for this arc.
    bool reads_character() const {
        return kind == ArcKind::any || kind == ArcKind::character || kind == ArcKind::literal ||
               kind == ArcKind::char_class;
    }
};

// A state's arcs lie together: first its character and literal arcs sorted
// by (first code point, index), then the others in stored order. Arcs that
// match nothing are left out; `index` keeps every arc's stored position.
struct WalkState {
    uint32_t arcs;      // first arc in WalkNetwork::arcs
    uint32_t arc_count; // arcs in the transducer, those left out included
    uint32_t key_count;
    uint32_t special_count;
    uint32_t first_key; // smallest index among the keyed arcs, or no_arc
    bool final;
};

struct WalkNetwork {
    static constexpr uint32_t no_arc = std::numeric_limits<uint32_t>::max();

    int start = -1;
    std::vector<WalkState> states;
    std::vector<WalkArc> arcs;
    // Texts by index: the AFst text vectors first, then the table texts of
    // labels beyond them.
    std::vector<const std::string*> input_texts;
    std::vector<OutputText> outputs;
    std::vector<dez::string::CharacterClassTest> class_tests; // null: a literal class
    std::vector<uint32_t> literal_code_points;                // per literal: count, code points
    std::deque<std::string> table_texts;                      // owns the texts beyond the vectors

    const WalkState* state(int id) const {
        return id >= 0 && static_cast<std::size_t>(id) < states.size() ? &states[id] : nullptr;
    }
};

} // namespace dez::afst

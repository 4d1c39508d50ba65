#pragma once

#include "foundation/code_point_classes.h"

#include <cstdint>
#include <deque>
#include <limits>
#include <string>
#include <vector>

namespace dez::afst {

// A loaded transducer in the form the lookup walks read it, and the only copy
// of it an AFst keeps: every state is a node in one word array, its header,
// its arcs in stored order (labels, weight, target node), then its
// single-character arcs sorted by code point and its other arcs, so that a
// walk finds the arcs for the next character by a search next to the header
// it has just read, and reaches the target's header without a state table.

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

// How one input label reads, for the arcs that are not keyed.
struct LabelReading {
    static constexpr uint8_t end_marker = 1; // a marker beginning with "#end"
    static constexpr uint8_t short_text = 2; // text of at most 5 bytes

    const std::string* text;
    uint32_t first; // character, literal: the first code point
    uint32_t extra; // char_class: index into class_tests; literal: offset into literal_code_points
    ArcKind kind;
    uint8_t flags;

    bool has(uint8_t flag) const { return (flags & flag) != 0; }
    // Whether the rule looks at the next character for this arc.
    bool reads_character() const {
        return kind == ArcKind::any || kind == ArcKind::character || kind == ArcKind::literal ||
               kind == ArcKind::char_class;
    }
};

// Node layout, in words of WalkNetwork::nodes:
//   header: arc count, final weight (float bits), keyed count, other count;
//   arcs in stored order, arc_words each: input label, output label, target
//     node (no_node for a target that is no state), weight bits if any arc
//     weighs other than one;
//   keyed arcs, 2 words each: code point, arc position; sorted by both;
//   other arcs, 3 words each: arc position, reading index, output index with
//     labels_inside set when both labels lie inside the AFst text vectors.
// Keyed are the arcs of one code point whose labels lie inside the vectors;
// arcs that match nothing are neither keyed nor other.
struct WalkNetwork {
    static constexpr uint32_t no_node = std::numeric_limits<uint32_t>::max();
    static constexpr uint32_t header_words = 4;
    static constexpr uint32_t labels_inside = 0x80000000u;
    static constexpr uint32_t zero_weight_bits = 0x7F800000u; // +infinity

    uint32_t start = no_node;
    uint32_t arc_words = 3; // 4 when arcs carry weights
    std::vector<uint32_t> nodes;
    std::vector<uint32_t> state_nodes; // node of every state id
    // Texts by label: the AFst text vectors first, then the table texts of
    // labels beyond them (outputs only).
    std::vector<OutputText> outputs;
    std::vector<LabelReading> readings;
    std::vector<dez::string::CharacterClassTest> class_tests; // null: a literal class
    std::vector<uint32_t> literal_code_points;                // per literal: count, code points
    std::deque<std::string> table_texts;                      // owns the texts beyond the vectors

    uint32_t arc_count(uint32_t node) const { return nodes[node]; }
    bool final(uint32_t node) const { return nodes[node + 1] != zero_weight_bits; }
    uint32_t key_count(uint32_t node) const { return nodes[node + 2]; }
    uint32_t other_count(uint32_t node) const { return nodes[node + 3]; }
    const uint32_t* arc(uint32_t node, uint32_t position) const {
        return &nodes[node + header_words + position * arc_words];
    }
    const uint32_t* keys(uint32_t node) const {
        return &nodes[node + header_words + nodes[node] * arc_words];
    }
    const uint32_t* others(uint32_t node) const { return keys(node) + 2 * key_count(node); }
};

} // namespace dez::afst

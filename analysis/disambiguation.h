#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "document/annotation.h"

namespace dez::afst {
class AFst;
struct WalkNetwork;
} // namespace dez::afst

namespace dez::trelix {

class Blackboard;

namespace core {
class MorphData;
}

// Narrows readings with the postagger; always true. Does nothing when the
// document's lookup data has no postagger.
bool disambiguate(Blackboard& document);
// Thins compound readings; always true.
bool auto_disambiguate(Blackboard& document);

namespace disambiguation {

// dez::Exception when the postagger cannot be walked safely: an arc label
// outside its symbol tables, or a property test ("+mN?name") shorter than
// its four-byte prefix. The language loader calls it, so that such a file is
// refused when it loads rather than failing every document.
void check_postagger(const dez::afst::AFst& postagger);

// Scores the readings of one token at a time by walking the postagger over
// each reading's part-of-speech text, with tests on neighbouring tokens
// ("+pN"/"-pN" part of speech, "+sN"/"-sN" stem, "+mN?name" property or
// tag). The first accepting path in stored arc order gives the reading its
// weight: the sum of the "#number" output labels along it.
//
// The walk stops at that first accepting path. Epsilon arcs and context
// tests can lead back to a place the walk already stands on; such an arc is
// not followed again (the walk below it would repeat itself forever), the
// stack is bounded by max_depth frames and one reading by max_steps arcs.
// One Engine per document and thread.
class Engine {
public:
    static constexpr std::size_t max_depth = 512;
    static constexpr std::size_t max_steps = 200000;

    // The lookup data must hold a postagger.
    explicit Engine(const core::MorphData& data);

    // The sentence whose tokens are scored next.
    void reset(qvr::common::RawPtrList<Annotation>* sentence);
    // Gives each reading of the token the score of its first accepting path;
    // readings without one keep their weight.
    void operator()(RawPtrIterator token);
    // Removes the readings weighing less than the token's heaviest.
    void remove_irrelevant(RawPtrIterator token);

    // One position in one text: the reading's part of speech, or the text a
    // context test reads.
    struct InputState {
        const char* begin;
        const char* end;
        const char* current;
    };

    // One step of the walk: a node of the postagger, the next of its arcs to
    // try, the input position recorded when the frame was pushed (a frame
    // pushed by a character records the position of that character), where
    // its arcs are first tried, which text it reads, and the output label of
    // the arc that led to it.
    struct Frame {
        uint32_t node;
        uint32_t arc;
        const char* position;
        const char* entry;
        const char* text;
        uint32_t output;
    };

    // Tries the top frame's next arc.
    void check(InputState& input);
    // A context test at `offset` tokens from the scored token along the arc.
    void match(int offset, const uint32_t* arc, uint32_t input_label);
    // Walks until the stack is back to `depth` frames (or a result is found).
    void continue_matching(std::size_t depth, InputState& input);
    // Drops the top frame; the input goes back to the position recorded by
    // the frame below when that one belongs to this walk (above `floor`).
    void pop(InputState& input, std::size_t floor);
    bool is_final(uint32_t node) const;
    // The path's score: the "#number" outputs of every frame plus `output`.
    double collect_result(uint32_t output) const;

private:
    // What an input label means, worked out once per Engine.
    struct Label {
        uint32_t first = 0;         // code point a character test compares
        bool has_first = false;     // false for an empty text
        bool bad_utf8 = false;      // a text of several bytes that is not UTF-8
        bool epsilon = false;       // "eps" or "EPS"
        bool context = false;       // "+" or "-", kind, digit...
        char kind = 0;              // 'p', 's', 'm' or another byte
        int offset = 0;             // tokens from the scored one
        bool valid_property = true; // an 'm' test long enough to name a property
        std::string property;       // the name an 'm' test looks for
    };

    // The labels and "#number" scores of one postagger. Worked out once per
    // postagger and thread, not per document.
    struct Tables {
        std::vector<Label> labels;
        std::vector<double> scores;
    };
    static std::shared_ptr<const Tables> prepare(const dez::afst::AFst& postagger);
    static std::shared_ptr<const Tables>
    tables_of(const std::shared_ptr<dez::afst::AFst>& postagger);

    const Label& input_label(uint32_t label) const;
    double output_score(uint32_t label) const;
    // Pushes unless the stack is full or the frame repeats one on it.
    bool push(const Frame& frame);
    void walk(std::size_t floor, InputState& input);
    void note_cut(const char* why);

    qvr::common::RawPtrList<Annotation>* sentence_ = nullptr;
    const core::MorphData& data_;
    const dez::afst::AFst& postagger_;
    const dez::afst::WalkNetwork& network_;
    std::shared_ptr<const Tables> tables_;
    const std::vector<Label>& labels_;
    const std::vector<double>& scores_;
    std::vector<Frame> frames;
    RawPtrIterator token_;
    std::vector<double> results;
    std::size_t steps_ = 0;
    bool stopped_ = false;
    bool cut_reported_ = false;
};

} // namespace disambiguation

} // namespace dez::trelix

#pragma once

#include "core-afst/walk_network.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace dez::afst {

// What a walk does with a result. The walk spells the outputs of the path as
// it goes, by the collector's Spelling, and calls the collector when an arc
// leads into a final state where the end rule accepts:
//   bool collect(const std::string& text, const Input& input,
//                typename Input::Position end);
// with the text spelled up to and including that arc. Answering false ends
// the walk.

// The outputs joined as the ranged walks do: every text but "eps".
struct JoinedOutputs {
    template <class Input>
    static void append(std::string& text, uint32_t&, const OutputText& output, const Input&) {
        if (output.kind != OutputKind::eps)
            text += *output.text;
    }
};

// The outputs spelled over a word as the whole-word walk does: "in" copies
// the word's code point under a cursor, "input" stands for the word when
// nothing precedes it (its results always end at the end of the word), any
// other text moves the cursor on by one. The cursor may run ahead of what
// the walk has read, so it steps over malformed bytes instead of raising:
// a result is spelled only once the walk has read the whole word.
struct SpelledOutputs {
    template <class Input>
    static void append(std::string& text, uint32_t& cursor, const OutputText& output,
                       const Input& input) {
        switch (output.kind) {
        case OutputKind::empty:
        case OutputKind::eps:
            return;
        case OutputKind::input:
            if (text.empty())
                text.assign(input.begin(), input.end());
            return;
        case OutputKind::in:
            if (cursor != input.size()) {
                const uint32_t from = cursor;
                step(cursor, input);
                text.append(input.begin() + from, cursor - from);
            }
            return;
        case OutputKind::text:
            text += *output.text;
            if (cursor != input.size())
                step(cursor, input);
            return;
        }
    }

private:
    template <class Input> static void step(uint32_t& cursor, const Input& input) {
        const auto lead = static_cast<unsigned char>(input.begin()[cursor]);
        const uint32_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        cursor = std::min(cursor + length, input.size());
    }
};

// Whole-word results, sorted byte-wise and without duplicates.
class ResultCollectorSorted {
public:
    using Spelling = SpelledOutputs;

    explicit ResultCollectorSorted(std::vector<std::string>& results) : results_(results) {}

    template <class Input>
    bool collect(const std::string& text, const Input&, typename Input::Position) {
        auto at = std::lower_bound(results_.begin(), results_.end(), text);
        if (at == results_.end() || *at != text)
            results_.insert(at, text);
        return true;
    }

private:
    std::vector<std::string>& results_;
};

// Whole-word results in the order found, duplicates kept.
class ResultCollectorUnsorted {
public:
    using Spelling = SpelledOutputs;

    explicit ResultCollectorUnsorted(std::vector<std::string>& results) : results_(results) {}

    template <class Input>
    bool collect(const std::string& text, const Input&, typename Input::Position) {
        results_.push_back(text);
        return true;
    }

private:
    std::vector<std::string>& results_;
};

// (end offset, text) pairs in the order found. Once more than max_results are
// collected, the next result ends the walk and is dropped.
class EndOffsetResultCollector {
public:
    using Spelling = JoinedOutputs;
    static constexpr std::size_t max_results = 20;

    explicit EndOffsetResultCollector(std::vector<std::pair<int, std::string>>& results)
        : results_(results) {}

    template <class Input>
    bool collect(const std::string& text, const Input& input, typename Input::Position end) {
        if (results_.size() > max_results)
            return false;
        results_.emplace_back(input.offset(end), text);
        return true;
    }

private:
    std::vector<std::pair<int, std::string>>& results_;
};

} // namespace dez::afst

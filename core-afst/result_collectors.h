#pragma once

#include "core-afst/walk_network.h"

#include <utf8.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace dez::afst {

// What a walk does with a result. A collector is called when an arc leads
// into a final state where the end rule accepts:
//   bool collect(const Stack& stack, const OutputText& arc_output,
//                const Input& input, typename Input::Position end);
// `stack` holds the entries from the start entry up (their `output`s), the
// arc being taken is not on it yet. Answering false ends the walk.

namespace detail {

// The outputs joined as the ranged walks do: every text but "eps".
template <class Stack>
void join_outputs(std::string& text, const Stack& stack, const OutputText& arc_output) {
    for (const auto& item : stack)
        if (item.output->kind != OutputKind::eps)
            text += *item.output->text;
    if (arc_output.kind != OutputKind::eps)
        text += *arc_output.text;
}

// The outputs spelled over a word as the whole-word walk does: "in" copies
// the word's code point under a cursor, "input" stands for the consumed word
// when nothing precedes it, any other text moves the cursor on by one.
template <class Stack>
void spell_outputs(std::string& text, const Stack& stack, const OutputText& arc_output,
                   const char* begin, const char* end, const char* result_end) {
    const char* cursor = begin;
    auto add = [&](const OutputText& output) {
        switch (output.kind) {
        case OutputKind::empty:
        case OutputKind::eps:
            return;
        case OutputKind::input:
            if (text.empty())
                text.assign(begin, result_end);
            return;
        case OutputKind::in:
            if (cursor != end) {
                const char* from = cursor;
                utf8::next(cursor, end);
                text.append(from, cursor);
            }
            return;
        case OutputKind::text:
            text += *output.text;
            if (cursor != end)
                utf8::next(cursor, end);
            return;
        }
    };
    for (const auto& item : stack)
        add(*item.output);
    add(arc_output);
}

} // namespace detail

// Whole-word results, sorted byte-wise and without duplicates.
class ResultCollectorSorted {
public:
    explicit ResultCollectorSorted(std::vector<std::string>& results) : results_(results) {}

    template <class Stack, class Input>
    bool collect(const Stack& stack, const OutputText& arc_output, const Input& input,
                 typename Input::Position end) {
        std::string text;
        detail::spell_outputs(text, stack, arc_output, input.begin(), input.end(), end);
        auto at = std::lower_bound(results_.begin(), results_.end(), text);
        if (at == results_.end() || *at != text)
            results_.insert(at, std::move(text));
        return true;
    }

private:
    std::vector<std::string>& results_;
};

// Whole-word results in the order found, duplicates kept.
class ResultCollectorUnsorted {
public:
    explicit ResultCollectorUnsorted(std::vector<std::string>& results) : results_(results) {}

    template <class Stack, class Input>
    bool collect(const Stack& stack, const OutputText& arc_output, const Input& input,
                 typename Input::Position end) {
        std::string text;
        detail::spell_outputs(text, stack, arc_output, input.begin(), input.end(), end);
        results_.push_back(std::move(text));
        return true;
    }

private:
    std::vector<std::string>& results_;
};

// (end offset, text) pairs in the order found. Once more than max_results are
// collected, the next result ends the walk and is dropped.
class EndOffsetResultCollector {
public:
    static constexpr std::size_t max_results = 20;

    explicit EndOffsetResultCollector(std::vector<std::pair<int, std::string>>& results)
        : results_(results) {}

    template <class Stack, class Input>
    bool collect(const Stack& stack, const OutputText& arc_output, const Input& input,
                 typename Input::Position end) {
        if (results_.size() > max_results)
            return false;
        std::string text;
        detail::join_outputs(text, stack, arc_output);
        results_.emplace_back(input.offset(end), std::move(text));
        return true;
    }

private:
    std::vector<std::pair<int, std::string>>& results_;
};

} // namespace dez::afst

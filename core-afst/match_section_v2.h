#pragma once

// The section matcher behind utf8_iterator::match_section: a depth-first
// search that chains the lexicon words found by the compound walk into
// complete segmentations of a word.

#include "core-afst/afst.h"
#include "core-afst/arc_matcher.h"
#include "core-afst/base_matcher.h"
#include "core-afst/compound_tags.h"
#include "core-afst/end_offset_result_collector_v2.h"
#include "core-afst/end_policies.h"
#include "core-afst/match_section.h"
#include "core-afst/results_memento_v2.h"
#include "core-afst/walk_input.h"

#include <utf8.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace dez::afst {

// The steps one search may still spend.
class CompoundSearchBudget {
public:
    explicit CompoundSearchBudget(long steps) : remaining_(steps) {}
    // False once the budget is overdrawn.
    bool spend(long steps) {
        remaining_ -= steps;
        return remaining_ >= 0;
    }

private:
    long remaining_;
};

// The walk's input, counting the characters the walk reads so that the
// search can charge them to its budget.
class CountingUtf8Input : public Utf8Input {
public:
    CountingUtf8Input(const char* begin, const char* end, long& reads)
        : Utf8Input(begin, end), reads_(&reads) {}
    uint32_t read(Position position, Position& after) const {
        ++*reads_;
        return Utf8Input::read(position, after);
    }

private:
    long* reads_;
};

// Every lexicon word that starts at `from`, appended to `candidates`.
inline void compound_walk(const AFst& lexicon, const char* from, const char* end,
                          std::vector<EndOffsetResultPartV2>& candidates,
                          CompoundSearchBudget& budget) {
    using Walk =
        BaseMatcher<ArcMatcher<CountingUtf8Input, AlwasyTrueEndPolicy, EndOffsetResultCollectorV2>>;
    long reads = 0;
    EndOffsetResultCollectorV2 collector(candidates);
    Walk walk(lexicon);
    walk.match(CountingUtf8Input(from, end, reads), collector);
    budget.spend(reads);
}

// What a skipper did after a component that does not reach the end.
template <class Iterator> struct SkipOutcome {
    Iterator next;      // where the next section starts
    std::size_t pushed; // entries it added to the memento's parts
    bool complete;      // the skipped run reached the end of the word
};

// Skips nothing.
struct NoSkipper {
    template <class Iterator>
    SkipOutcome<Iterator> operator()(ResultsMementoV2&, Iterator component_end, Iterator,
                                     Iterator) const {
        return {component_end, 0, false};
    }
};

// Skips a run of digits and '_' (tags such as "#greatday2021", "#great_day").
struct NumSkipper {
    template <class Iterator>
    SkipOutcome<Iterator> operator()(ResultsMementoV2& memento, Iterator component_end,
                                     Iterator base, Iterator end) const {
        Iterator at = component_end;
        const uint32_t first = utf8::next(at, end);
        if (!skip_characters(first))
            return {component_end, 0, false};
        Iterator run_end = at;
        while (run_end != end) {
            Iterator after = run_end;
            if (!skip_characters(utf8::next(after, end)))
                break;
            run_end = after;
        }
        std::size_t pushed = 0;
        if (first == '_') {
            memento.parts.back().end = run_end - base;
        } else {
            memento.parts.emplace_back(component_end - base, run_end - base,
                                       std::string(component_end, run_end) + "+Num");
            pushed = 1;
        }
        return {run_end, pushed, run_end == end};
    }
};

// Produces no output.
struct SilentSectionLogger {
    void operator()(const ResultsMementoV2&) const {}
};

template <class Iterator, class Logger, class Skipper> struct MatchSectionV2 {
    // The deepest recursion allowed (the component count is one more).
    int32_t depth_limit;
    // The bound of the whole search, shared by every depth.
    CompoundSearchBudget* budget;

    // False aborts the whole search.
    bool operator()(ResultsMementoV2& memento, const AFst& lexicon, Iterator section, Iterator base,
                    Iterator end, int32_t depth) const {
        if ((depth >= 1 && depth > depth_limit) || !budget->spend(1)) {
            memento.parts.clear();
            return false;
        }
        std::vector<EndOffsetResultPartV2> candidates;
        compound_walk(lexicon, section, end, candidates, *budget);

        if (depth == 0) {
            erase_if(candidates, [](const auto& c) { return has_invalid_tags(c.analysis); });
        } else if (section != end) {
            Iterator after = section;
            const uint32_t c = utf8::next(after, end);
            if (c == '-' || c == 's') {
                const std::size_t found = candidates.size();
                compound_walk(lexicon, after, end, candidates, *budget);
                for (std::size_t i = found; i < candidates.size(); ++i) {
                    auto& candidate = candidates[i];
                    candidate.score >>= 1;
                    candidate.start = 1;
                    candidate.end += 1;
                }
            }
        }
        if (candidates.empty())
            return true;
        // A prefix keeps its place, without analysis, as first or second
        // component only; an affix at any depth.
        if (depth <= 1)
            clear_if(candidates, [](const auto& c) { return has_prefix_tag(c.analysis); });
        else
            erase_if(candidates, [](const auto& c) { return has_prefix_tag(c.analysis); });
        clear_if(candidates, [](const auto& c) { return has_affix_tag(c.analysis); });

        // Stable, so that equal candidates are tried in the order the walk
        // found them on every platform.
        std::stable_sort(candidates.begin(), candidates.end(), longer_first);

        uint16_t kept_score = 0;
        for (const auto& candidate : candidates) {
            if (candidate.end == 0 || candidate.score < kept_score)
                continue;
            kept_score = candidate.score;
            if (!budget->spend(1)) {
                memento.parts.clear();
                return false;
            }
            Iterator component_end = section;
            while (component_end - section < candidate.end && component_end != end)
                utf8::next(component_end, end);
            const std::size_t before = memento.parts.size();
            memento.parts.emplace_back(section + candidate.start - base, component_end - base,
                                       candidate.analysis);
            if (component_end == end) {
                if (is_valid_compound(memento, candidate))
                    record(memento);
                memento.parts.resize(before);
                continue;
            }
            const SkipOutcome<Iterator> skip = Skipper()(memento, component_end, base, end);
            if (skip.complete) {
                record(memento);
            } else if (!(*this)(memento, lexicon, skip.next, base, end, depth + 1)) {
                return false;
            }
            memento.parts.resize(before);
        }
        return true;
    }

private:
    template <class Predicate>
    static void erase_if(std::vector<EndOffsetResultPartV2>& candidates, Predicate predicate) {
        candidates.erase(std::remove_if(candidates.begin(), candidates.end(), predicate),
                         candidates.end());
    }

    // Clears the analysis of every candidate the predicate holds for.
    template <class Predicate>
    static void clear_if(std::vector<EndOffsetResultPartV2>& candidates, Predicate predicate) {
        for (auto& candidate : candidates)
            if (predicate(candidate))
                candidate.analysis.clear();
    }

    // The place of the first '#' in the analysis, its length without one.
    static std::size_t first_hash(const std::string& analysis) {
        const auto hash = analysis.find('#');
        return hash == std::string::npos ? analysis.size() : hash;
    }

    static bool longer_first(const EndOffsetResultPartV2& a, const EndOffsetResultPartV2& b) {
        if (a.end != b.end)
            return a.end > b.end;
        return first_hash(a.analysis) > first_hash(b.analysis);
    }

    // Each recorded component is charged too, which bounds the memory the
    // results take.
    void record(ResultsMementoV2& memento) const {
        memento.results.push_back(memento.parts);
        budget->spend(static_cast<long>(memento.parts.size()));
        Logger()(memento);
    }
};

} // namespace dez::afst

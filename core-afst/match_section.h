#pragma once

#include "core-afst/end_offset_result_part_v2.h"
#include "core-afst/results_memento_v2.h"

#include <cstdint>

namespace dez::afst {

class AFst;

// The whole of one segmentation search may spend this many steps (a
// character read by a walk, a walk started, a component tried, a component
// recorded). Each walk is
// bounded on its own, but the number of segmentations grows exponentially
// with the word's length over a lexicon of short entries.
inline constexpr long compound_search_step_limit = 100000;

namespace utf8_iterator {

// Chains lexicon words found from `section` on into segmentations of
// [base, end) and records the complete ones in `memento.results`, with byte
// offsets from `base`. A segmentation has at most depth_limit + 1
// components. False when the search was cut short, by the depth limit or by
// `step_budget`; the segmentations recorded until then stay.
bool match_section(ResultsMementoV2& memento, const AFst& lexicon, const char* section,
                   const char* base, const char* end, int32_t depth_limit,
                   long step_budget = compound_search_step_limit);

// The same, with runs of digits and '_' after a component skipped: a run
// that begins with a digit becomes a component "<run>+Num", one that begins
// with '_' is added to the component before it.
bool match_section_skip_numbers(ResultsMementoV2& memento, const AFst& lexicon, const char* section,
                                const char* base, const char* end, int32_t depth_limit,
                                long step_budget = compound_search_step_limit);

} // namespace utf8_iterator

// '_' or a digit.
bool skip_characters(uint32_t code_point);

// A compound ending in a number word ("...Num-Std") is only made of number
// words and coordinating conjunctions ("...Conj-Coord"); any other compound
// passes.
bool is_valid_compound(const ResultsMementoV2& memento, const EndOffsetResultPartV2& last);

} // namespace dez::afst

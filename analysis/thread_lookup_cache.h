#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace dez::trelix::core {

// Answers of a language's lookup steps, kept by each thread from one document
// to the next. A step's answer depends only on its transducers and the word,
// so it holds for every later document of the language; each thread keeps its
// own, so analysis takes no lock. Short documents would otherwise walk the
// lexicon for nearly every token.
//
// Memory stays bounded: per step two generations of at most
// `thread_cache_generation` words of at most `thread_cache_word_bytes` bytes
// (the older is dropped when the newer fills, and a word found in the older
// moves to the newer), at most `thread_cache_steps` steps per thread (the
// least recently used goes).
namespace thread_lookup_cache {

inline constexpr std::size_t thread_cache_generation = 16384;
inline constexpr std::size_t thread_cache_steps = 32;
// Longer words (URLs, hashes, runs of symbols) are rare twice and would make
// the memory depend on the text: they are never kept.
inline constexpr std::size_t thread_cache_word_bytes = 64;

// An id no other step of this process has had; 0 means "not kept".
uint64_t new_step_id();

// The answer this thread keeps for the step and word, or null. Valid until
// the thread's next call.
const std::vector<std::string>* find(uint64_t step, const std::string& word);

void add(uint64_t step, const std::string& word, const std::vector<std::string>& answers);

// Forgets every answer this thread keeps.
void clear();

} // namespace thread_lookup_cache

} // namespace dez::trelix::core

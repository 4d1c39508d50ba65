#pragma once

#include <set>
#include <string>
#include <vector>

// Byte-level cleaning of words written with stretched letters. Only runs of
// an ASCII byte are touched: a UTF-8 sequence may repeat a continuation byte
// (U+40000 is F1 80 80 80), and shortening that would cut a character.

namespace dez::afst {

// Shortens every run of three or more identical ASCII bytes to two, in
// place; terminates the buffer and updates `length`. Answers the positions,
// in the shortened word, of the first byte of every shortened run.
std::vector<int> clean_word_tree_consecutive_char(char* word, int& length);

// The positions i where the ASCII byte at i equals the byte at i + 1.
std::vector<int> clean_word_two_consecutive_char(char* word, int& length);

// Shortens every run of identical ASCII bytes to one, in place; terminates
// the buffer and updates `length`. True when the length changed.
bool copy_cleanword(char* word, int& length);

// Adds the word and every word made from it by reducing the pairs at any
// selection of `positions` (from index `start` on) to one byte.
void generate_permutations(std::set<std::string>& out, char* word, int length,
                           const std::vector<int>& positions, int start, int depth);

// Appends "+cleanup" to every result.
void addProperty(std::vector<std::string>& results);

} // namespace dez::afst

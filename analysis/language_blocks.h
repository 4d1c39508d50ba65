#pragma once

#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

// The Unicode blocks that name a language by script alone, for language
// identification: (first code point, last code point inclusive, language
// code, block name). 75 rows, none overlapping; rows with the empty code
// count characters that can never yield a language. Basic Latin, the Latin
// extensions and Cyrillic have no row. Built at library load.
using LanguageBlock = std::tuple<uint64_t, uint64_t, std::string, std::string>;
extern const std::vector<LanguageBlock> language_blocks;

namespace dez::lid {

// The row of language_blocks that holds `code_point`, or null.
const LanguageBlock* find_language_block(uint32_t code_point);

} // namespace dez::lid

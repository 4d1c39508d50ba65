#pragma once

#include <cstdint>

#include <unicode/unistr.h>

namespace dez::trelix {

// The literal of `length` units at `start`: NFKC when some unit is a
// combining diacritical mark (U+0300..U+036F), then the character map
// applied. Offsets of the token never follow the literal's length.
icu::UnicodeString get_substring_data(const icu::UnicodeString& text, uint32_t start,
                                      uint32_t length);

// Whether get_substring_data would change the units [start, start + length):
// when not, the literal is the source text as it stands.
bool needs_normalisation(const icu::UnicodeString& text, uint32_t start, uint32_t length);

} // namespace dez::trelix

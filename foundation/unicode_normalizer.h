#pragma once

#include <unicode/normalizer2.h>
#include <unicode/unistr.h>
#include <unicode/unorm2.h>

#include <cstdint>
#include <map>

namespace dez::string {

// The process-wide normalisers and code-point map, built while the library
// loads (before the static initialisers of other files run). Nothing may
// change them afterwards, so readers need no lock.

// NFKD, for the decomposition of single code points. Null when ICU failed;
// the normalising conversions then act as if nothing had a decomposition.
extern const UNormalizer2* decomposer;
// NFKC, for whole strings.
extern const icu::Normalizer2* composer;
// Replacements for code points that have no decomposition (L with stroke).
extern const std::map<uint32_t, uint32_t> dez_convert;

// Ask ICU for the instances; a failure is reported on standard error.
const UNormalizer2* init_decomposer();
const icu::Normalizer2* init_composer();

const icu::Normalizer2* get_composer();

// NFKC normalisation of s.
icu::UnicodeString compose(const icu::UnicodeString& s);

// Whether the unit, or any unit of s, is a combining diacritical mark
// (U+0300..U+036F).
bool is_decomposed(char16_t unit);
bool is_decomposed(const icu::UnicodeString& s);

} // namespace dez::string

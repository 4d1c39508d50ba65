#pragma once

#include <cstdint>

namespace dez::trelix {

// Bits of Token::token_flags; all clear when a token is made.
namespace token_flags {
// A compound label was imported; disambiguation acts on it.
constexpr uint64_t compound = 0x1;
// The token's properties name the lookups to try.
constexpr uint64_t property_lookup = 0x2;
// Readings come from the token map; the lexicon is not asked.
constexpr uint64_t rule_reading = 0x4;
// The token has the property "tag" after its lookup results were imported.
constexpr uint64_t tagged = 0x10;
// An abbreviation span of the text splitter.
constexpr uint64_t known_abbreviation = 0x20;
// The apostrophe step acts on the token.
constexpr uint64_t apostrophe_join = 0x40;
// Markup token: reading "Markup"; the tagger and disambiguation pass it over.
constexpr uint64_t markup = 0x100;
// A unit after a number that may be a unit or a multiplier.
constexpr uint64_t unit_or_value = 0x200;
// The unit is the third part of currency, number and multiplier.
constexpr uint64_t multiplier = 0x400;
// Readings fixed by the tokenizer; the lexicon is not asked.
constexpr uint64_t no_lookup = 0x800;
// A header-prefix span of the text splitter.
constexpr uint64_t header_prefix = 0x1000;
} // namespace token_flags

// Bits of Sentence::sentence_flags.
namespace sentence_flags {
// An apostrophe token was made; the apostrophe step runs.
constexpr uint64_t has_apostrophe = 0x1;
// Measurements are to be settled.
constexpr uint64_t has_unit_or_value = 0x2;
} // namespace sentence_flags

} // namespace dez::trelix

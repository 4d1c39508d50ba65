#pragma once

namespace dez {
struct SMatch;
struct SubMatch;
} // namespace dez

namespace dez::trelix {

class Sentence;
class Token;

// Splits a token the measures expression matched, by the groups that took
// part: 1 and 2 unit-value ('$100'), 2 and 3 value-unit ('5kg'), 1 to 3
// currency, value and multiplier ('$5m'); any other set leaves the token
// alone. The token keeps its begin; new tokens are appended to the sentence
// and offsets follow the byte lengths of the groups.
void apply_measurement(Sentence* sentence, Token* token, const dez::SMatch& match);

void apply_measurement_unit_value(Sentence* sentence, Token* token, const dez::SubMatch& unit,
                                  const dez::SubMatch& value);
// A unit "m" may be metres or millions: both tokens go to the lexicon and
// fix_measurements settles it.
void apply_measurement_value_unit(Sentence* sentence, Token* token, const dez::SubMatch& value,
                                  const dez::SubMatch& unit);
void apply_3part_measurement(Sentence* sentence, Token* token, const dez::SMatch& match);

} // namespace dez::trelix

#pragma once

namespace dez::trelix {

// The longest leading part of [begin, end) that reads as a decimal
// floating-point number (optional sign, digits, fraction, exponent), read
// without regard to the locale; 0 when the text starts with no number.
// Leading white space is skipped only with `skip_space`.
double read_leading_number(const char* begin, const char* end, bool skip_space);

} // namespace dez::trelix

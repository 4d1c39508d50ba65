#include "foundation/char_traits.h"

#include "foundation/unicode_normalizer.h"

#include <unicode/uchar.h>

namespace dez::string {

namespace {

uint32_t lower(uint32_t c) {
    return static_cast<uint32_t>(u_tolower(static_cast<UChar32>(c)));
}

enum class Decomposition { failure, none, found };

// NFKD decomposition of one code point into at most 8 UTF-16 units.
Decomposition decompose(uint32_t c, UChar (&units)[8], int32_t& length) {
    UErrorCode status = U_ZERO_ERROR;
    length = unorm2_getDecomposition(decomposer, static_cast<UChar32>(c), units, 8, &status);
    if (U_FAILURE(status))
        return Decomposition::failure;
    return length < 0 ? Decomposition::none : Decomposition::found;
}

// Stand-in for a code point without decomposition.
uint32_t converted_or(uint32_t c, uint32_t otherwise) {
    auto found = dez_convert.find(c);
    return found != dez_convert.end() ? found->second : otherwise;
}

} // namespace

namespace detail {

std::size_t to_lower_code_point(uint32_t c, uint32_t* out) {
    out[0] = lower(c);
    return 1;
}

std::size_t normalize_code_point(uint32_t c, uint32_t* out) {
    if (c <= 0x7F || decomposer == nullptr) {
        out[0] = c;
        return 1;
    }
    UChar units[8];
    int32_t length = 0;
    switch (decompose(c, units, length)) {
    case Decomposition::failure: out[0] = 0x20; break;
    case Decomposition::none: out[0] = converted_or(c, c); break;
    case Decomposition::found: out[0] = units[0] <= 0x7FFE ? units[0] : c; break;
    }
    return 1;
}

std::size_t normalize_to_lower_code_point(uint32_t c, uint32_t* out) {
    if (c <= 0x7F || decomposer == nullptr) {
        out[0] = lower(c);
        return 1;
    }
    UChar units[8];
    int32_t length = 0;
    switch (decompose(c, units, length)) {
    case Decomposition::failure:
        out[0] = 0x20;
        return 1;
    case Decomposition::none:
        out[0] = converted_or(c, lower(c));
        return 1;
    case Decomposition::found:
        break;
    }
    if (units[0] > 0x7FFE) {
        out[0] = c;
        return 1;
    }
    std::size_t count = 0;
    out[count++] = lower(units[0]);
    // Only an ASCII tail is kept: "fi" from the ligature, not the accents.
    for (int32_t i = 1; i < length && units[i] <= 0x7E; ++i)
        out[count++] = lower(units[i]);
    return count;
}

} // namespace detail

namespace {

template <std::size_t (*Convert)(uint32_t, uint32_t*)>
std::vector<uint32_t> as_vector(uint32_t c) {
    uint32_t out[detail::max_converted];
    std::size_t count = Convert(c, out);
    return std::vector<uint32_t>(out, out + count);
}

} // namespace

std::vector<uint32_t> ToLowerCharTraits::convert(uint32_t c) {
    return as_vector<detail::to_lower_code_point>(c);
}

std::vector<uint32_t> NormalizeCharTraits::convert(uint32_t c) {
    return as_vector<detail::normalize_code_point>(c);
}

std::vector<uint32_t> NormalizeToLowerCharTraits::convert(uint32_t c) {
    return as_vector<detail::normalize_to_lower_code_point>(c);
}

} // namespace dez::string

#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace dez::string {

namespace detail {

// Room enough for any conversion below.
constexpr std::size_t max_converted = 8;

// The conversions without the vector: write into out, answer the count.
std::size_t to_lower_code_point(uint32_t c, uint32_t* out);
std::size_t normalize_code_point(uint32_t c, uint32_t* out);
std::size_t normalize_to_lower_code_point(uint32_t c, uint32_t* out);

} // namespace detail

// Per-code-point conversion policies of the text streams and word functions.

// Simple lower-case mapping.
class ToLowerCharTraits {
public:
    static std::vector<uint32_t> convert(uint32_t c);
};

// Accents and compatibility variants stripped (first unit of the NFKD
// decomposition), case kept.
class NormalizeCharTraits {
public:
    static std::vector<uint32_t> convert(uint32_t c);
};

// As NormalizeCharTraits, lower-cased, keeping an ASCII tail of the
// decomposition (U+FB01 gives "fi").
class NormalizeToLowerCharTraits {
public:
    static std::vector<uint32_t> convert(uint32_t c);
};

} // namespace dez::string

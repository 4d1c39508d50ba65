#include "core-afst/serialization_key_pattern.h"

#include <cstddef>

#include <utf8.h>

namespace dez::afst::serialization {

namespace {

unsigned char byte_at(const std::string& text, std::size_t at) {
    return static_cast<unsigned char>(text[at]);
}

// Bytes of the character at `at`: the length of a well-formed UTF-8
// sequence (no overlong forms, surrogates or values above U+10FFFF), else 1.
std::size_t character_length(const std::string& text, std::size_t at) {
    const auto begin = text.begin() + static_cast<std::ptrdiff_t>(at);
    auto end = begin;
    if (utf8::internal::validate_next(end, text.end()) != utf8::internal::UTF8_OK)
        return 1;
    return static_cast<std::size_t>(end - begin);
}

unsigned char fold(unsigned char byte) {
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

bool same_character(const std::string& pattern, std::size_t p, std::size_t pattern_length,
                    const std::string& key, std::size_t k, std::size_t key_length) {
    if (pattern_length != key_length)
        return false;
    for (std::size_t i = 0; i < key_length; ++i)
        if (fold(byte_at(pattern, p + i)) != fold(byte_at(key, k + i)))
            return false;
    return true;
}

} // namespace

bool is_key_pattern(const std::string& key) {
    return key.find('%') != std::string::npos;
}

bool key_matches(const std::string& pattern, const std::string& key) {
    // Greedy walk that returns to the last '%' on a mismatch and lets it
    // take one more character of the key.
    constexpr std::size_t none = std::string::npos;
    std::size_t p = 0, k = 0;
    std::size_t after_percent = none, resume = 0;
    while (k < key.size()) {
        if (p < pattern.size() && pattern[p] == '%') {
            after_percent = ++p;
            resume = k;
            continue;
        }
        const std::size_t key_length = character_length(key, k);
        if (p < pattern.size()) {
            if (pattern[p] == '_') {
                ++p;
                k += key_length;
                continue;
            }
            const std::size_t pattern_length = character_length(pattern, p);
            if (same_character(pattern, p, pattern_length, key, k, key_length)) {
                p += pattern_length;
                k += key_length;
                continue;
            }
        }
        if (after_percent == none)
            return false;
        resume += character_length(key, resume);
        k = resume;
        p = after_percent;
    }
    while (p < pattern.size() && pattern[p] == '%')
        ++p;
    return p == pattern.size();
}

} // namespace dez::afst::serialization

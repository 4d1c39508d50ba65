#include "core-afst/serialization_key_pattern.h"

#include <cstddef>

namespace dez::afst::serialization {

namespace {

unsigned char byte_at(const std::string& text, std::size_t at) {
    return static_cast<unsigned char>(text[at]);
}

bool in_range(unsigned char byte, unsigned char low, unsigned char high) {
    return byte >= low && byte <= high;
}

// Bytes of the character at `at`: the length of a well-formed UTF-8
// sequence (no overlong forms, surrogates or values above U+10FFFF), else 1.
std::size_t character_length(const std::string& text, std::size_t at) {
    const unsigned char lead = byte_at(text, at);
    std::size_t length = 1;
    unsigned char low = 0x80, high = 0xBF; // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    }
    if (length == 1 || at + length > text.size() || !in_range(byte_at(text, at + 1), low, high))
        return 1;
    for (std::size_t i = 2; i < length; ++i)
        if (!in_range(byte_at(text, at + i), 0x80, 0xBF))
            return 1;
    return length;
}

unsigned char fold(unsigned char byte) {
    return in_range(byte, 'A', 'Z') ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
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

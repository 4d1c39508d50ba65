#include "foundation/char_traits.h"

#include <gtest/gtest.h>

namespace {

using dez::string::NormalizeCharTraits;
using dez::string::NormalizeToLowerCharTraits;
using dez::string::ToLowerCharTraits;
using Points = std::vector<uint32_t>;

TEST(CharTraits, NormalisingPoliciesFollowTheDecomposition) {
    struct Case {
        uint32_t c;
        Points lower, keep_case;
    };
    const Case cases[] = {
        {'A', {'a'}, {'A'}},
        {'-', {'-'}, {'-'}},
        {0xE9, {'e'}, {'e'}},            // é
        {0xC9, {'e'}, {'E'}},            // É
        {0xDF, {0xDF}, {0xDF}},          // ß: no decomposition
        {0xC6, {0xE6}, {0xC6}},          // Æ: no decomposition, lower-cased only
        {0xFB01, {'f', 'i'}, {'f'}},     // fi ligature
        {0x2122, {'t', 'm'}, {'T'}},     // trade mark sign
        {0xBD, {'1'}, {'1'}},            // one half: the fraction slash ends the tail
        {0x2026, {'.', '.', '.'}, {'.'}}, // ellipsis
        {0xA0, {' '}, {' '}},            // no-break space
        {0x141, {'l'}, {'l'}},           // L with stroke, from the fallback map
        {0x142, {'l'}, {'l'}},
        {0xAC00, {0x1100}, {0x1100}},    // Hangul syllable: its leading jamo
        {0xFDFA, {' '}, {' '}},          // decomposition longer than 8 units
        {0xF900, {0xF900}, {0xF900}},    // first unit above 0x7FFE keeps the character
        {0x1D400, {'a'}, {'A'}},         // mathematical bold capital A
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NormalizeToLowerCharTraits::convert(c.c), c.lower) << std::hex << c.c;
        EXPECT_EQ(NormalizeCharTraits::convert(c.c), c.keep_case) << std::hex << c.c;
    }
}

TEST(CharTraits, ToLowerIsTheSimpleMapping) {
    struct Case {
        uint32_t c, lower;
    };
    const Case cases[] = {
        {'A', 'a'}, {'a', 'a'}, {0xC9, 0xE9}, {0x130, 'i'}, {0x3A3, 0x3C3}, {0x1E9E, 0xDF},
        {0x2122, 0x2122},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ToLowerCharTraits::convert(c.c), Points{c.lower}) << std::hex << c.c;
}

} // namespace

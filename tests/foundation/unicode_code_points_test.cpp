#include "foundation/unicode_code_points.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>

namespace {

using namespace dez::string::unicode;

const std::set<char> kNoSpecials;
const std::set<char> kParen = {'('};

TEST(UnicodeIsUtf8, AcceptsWellFormedAndRejectsEveryFault) {
    struct Case {
        std::string text;
        bool valid;
    };
    const Case cases[] = {
        {"", true},
        {"plain ascii", true},
        {"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80", true},
        {"\xC3", false},             // truncated
        {"ab\xE2\x82", false},       // truncated at the end
        {"\xC0\x80", false},         // overlong
        {"\xED\xA0\x80", false},     // surrogate
        {"\xF4\x90\x80\x80", false}, // above U+10FFFF
        {"\x80", false},             // stray continuation byte
        {"\xF8\x88\x80\x80\x80", false},
        {"\xC3" "a", false}, // missing continuation byte
    };
    for (const auto& c : cases)
        EXPECT_EQ(is_utf8(c.text), c.valid) << testing::PrintToString(c.text);
}

TEST(UnicodeNext, DecodesAndAdvancesOverEveryPositionType) {
    const std::string text = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";
    const uint32_t expected[] = {'a', 0xE9, 0x20AC, 0x1F600};

    const char* p = text.data();
    const char* end = p + text.size();
    for (uint32_t cp : expected)
        EXPECT_EQ(next(p, end), cp);
    EXPECT_EQ(p, end);

    std::string mutable_text = text;
    auto it = mutable_text.begin();
    for (uint32_t cp : expected)
        EXPECT_EQ(next(it, mutable_text.end()), cp);
    EXPECT_EQ(it, mutable_text.end());

    auto cit = text.cbegin();
    for (uint32_t cp : expected)
        EXPECT_EQ(next(cit, text.cend()), cp);
    EXPECT_EQ(cit, text.cend());
}

TEST(UnicodeNext, PeekingDoesNotMove) {
    const std::string text = "\xC3\xA9x";
    const char* p = text.data();
    EXPECT_EQ(next_char(p, p + text.size()), 0xE9u);
    EXPECT_EQ(get_char(p, p + text.size()), 0xE9u);
    EXPECT_EQ(p, text.data());
}

TEST(UnicodeNext, ErrorsLeaveThePositionAtTheFaultySequence) {
    const std::string truncated = "\xE2\x82";
    const char* p = truncated.data();
    EXPECT_THROW(next(p, p + truncated.size()), utf8::not_enough_room);
    EXPECT_EQ(p, truncated.data());

    const std::string overlong = "\xC0\x80";
    p = overlong.data();
    EXPECT_THROW(next(p, p + overlong.size()), utf8::invalid_utf8);
    EXPECT_EQ(p, overlong.data());

    const std::string surrogate = "\xED\xA0\x80";
    p = surrogate.data();
    EXPECT_THROW(next(p, p + surrogate.size()), utf8::invalid_code_point);

    const char* empty = truncated.data();
    EXPECT_THROW(next(empty, empty), utf8::not_enough_room);
}

TEST(UnicodeDecrement, StepsBackOneCodePoint) {
    const std::string text = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";
    const char* begin = text.data();
    const char* p = begin + text.size();
    const std::ptrdiff_t starts[] = {6, 3, 1, 0};
    for (std::ptrdiff_t start : starts) {
        p = decrement(p, begin);
        EXPECT_EQ(p - begin, start);
    }
    EXPECT_EQ(decrement(begin, begin), begin);

    auto it = decrement(text.cend(), text.cbegin());
    EXPECT_EQ(it - text.cbegin(), 6);
}

TEST(UnicodeDecrement, PassesOverStrayBytes) {
    const std::string text = "a\x80";
    EXPECT_EQ(decrement(text.data() + 2, text.data()), text.data());

    // A lead byte whose sequence would reach past the position is skipped.
    const std::string cut = "\xC3\xA9\xC3";
    EXPECT_EQ(decrement(cut.data() + 3, cut.data()), cut.data());
}

TEST(UnicodeDecrement, RaisesOnBrokenSequencesBeforeThePosition) {
    const std::string broken = "\xE2\xC3"; // E2 wants a continuation, finds a lead
    EXPECT_THROW(decrement(broken.data() + 2, broken.data()), utf8::invalid_utf8);
    const std::string surrogate = "\xED\xA0\x80";
    EXPECT_THROW(decrement(surrogate.data() + 3, surrogate.data()), utf8::invalid_code_point);
    const std::string overlong = "\xC0\x80";
    EXPECT_THROW(decrement(overlong.data() + 2, overlong.data()), utf8::invalid_utf8);
}

TEST(UnicodeDecrement, NeverLooksBeforeTheStartOfTheText) {
    // Continuation bytes right at the start: the look-back must stop at the
    // start of the buffer (AddressSanitizer checks the heap copy's bounds).
    const std::string stray = "\x80\x80";
    std::unique_ptr<char[]> heap(new char[stray.size()]);
    std::copy(stray.begin(), stray.end(), heap.get());
    const char* end = heap.get() + stray.size();
    EXPECT_EQ(decrement(end, heap.get()), end);
    EXPECT_EQ(prev_char(end, heap.get()), 0u);

    // A bound in the middle of a text hides what lies before it.
    const std::string text = "\xC3\xA9";
    EXPECT_EQ(decrement(text.data() + 2, text.data() + 1), text.data() + 2);
    EXPECT_EQ(decrement(text.cend(), text.cbegin() + 1), text.cend());
}

TEST(UnicodeDecrement, LooksBackAtMostFiveBytes) {
    const std::string text = "a\x80\x80\x80\x80\x80";
    const char* end = text.data() + text.size();
    EXPECT_EQ(decrement(end, text.data()), end);
    EXPECT_EQ(decrement(end - 1, text.data()), text.data());
}

TEST(UnicodePrevChar, GivesTheCodePointBeforeThePosition) {
    const std::string text = "a\xC3\xA9";
    EXPECT_EQ(prev_char(text.data() + text.size(), text.data()), 0xE9u);
    EXPECT_EQ(prev_char(text.data() + 1, text.data()), static_cast<uint32_t>('a'));
    EXPECT_EQ(prev_char(text.data(), text.data()), 0u);
}

struct ParseCase {
    std::string text;
    const std::set<char>* specials;
    uint32_t result;
    std::ptrdiff_t consumed;
    int code;
    std::string message;
};

TEST(UnicodeNextParse, ReadsEscapes) {
    const ParseCase cases[] = {
        {"x", &kNoSpecials, 'x', 1, 0, ""},
        {"\xC3\xA9", &kNoSpecials, 0xE9, 2, 0, ""},
        {"\\u00e9z", &kNoSpecials, 0xE9, 6, 0, ""},
        {"\\u00E9", &kNoSpecials, 0xE9, 6, 0, ""},
        {"\\x41", &kNoSpecials, 0x41, 4, 0, ""},
        {"\\U0001F600", &kNoSpecials, 0x1F600, 10, 0, ""},
        {"\\u005c", &kNoSpecials, 0x5C, 6, 0, ""},
        {"\\(", &kParen, 0x5C, 1, 0, ""},
        {"\\q", &kNoSpecials, 'q', 2, 1, "Invalid escaped character [0x71(q)]"},
        {"\\X41", &kNoSpecials, 'X', 2, 1, "Invalid escaped character [0x58(X)]"},
        {"\\(", &kNoSpecials, '(', 2, 1, "Invalid escaped character [0x28(()]"},
        {"\\\xC3\xA9", &kNoSpecials, 0xE9, 3, 1, "Invalid escaped character [0xe9]"},
        {"\\\x7F", &kNoSpecials, 0x7F, 2, 1, "Invalid escaped character [0x7f]"},
        {std::string("\\\0", 2), &kNoSpecials, 0, 2, 1,
         std::string("Invalid escaped character [0(\0)]", 32)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text));
        ErrorCode record;
        const char* p = c.text.data();
        EXPECT_EQ(next_parse_error_code(p, p + c.text.size(), *c.specials, &record), c.result);
        EXPECT_EQ(p - c.text.data(), c.consumed);
        EXPECT_EQ(record.code, c.code);
        EXPECT_EQ(record.message, c.message);
    }
}

TEST(UnicodeNextParse, EscapedSpecialIsReadLiterallyNext) {
    const std::string text = "\\(";
    auto it = text.cbegin();
    EXPECT_EQ(next_parse_error_code(it, text.cend(), kParen, nullptr), 0x5Cu);
    EXPECT_EQ(next_parse_error_code(it, text.cend(), kParen, nullptr), 0x28u);
    EXPECT_EQ(it, text.cend());
}

TEST(UnicodeNextParse, CaseSensitiveLettersLeaveTheDigitsForLater) {
    std::string text = "\\X41";
    auto it = text.begin();
    ErrorCode record;
    EXPECT_EQ(next_parse_error_code(it, text.end(), kNoSpecials, &record), uint32_t('X'));
    EXPECT_EQ(next_parse_error_code(it, text.end(), kNoSpecials, &record), uint32_t('4'));
    EXPECT_EQ(record.code, 1);
}

TEST(UnicodeNextParse, RecordIsNeverReset) {
    const std::string text = "\\qa";
    ErrorCode record;
    const char* p = text.data();
    next_parse_error_code(p, p + text.size(), kNoSpecials, &record);
    EXPECT_EQ(next_parse_error_code(p, p + text.size(), kNoSpecials, &record), uint32_t('a'));
    EXPECT_EQ(record.code, 1);
    EXPECT_EQ(record.message, "Invalid escaped character [0x71(q)]");
}

TEST(UnicodeNextParse, MalformedNumericEscapesThrow) {
    struct Case {
        std::string text;
        std::string message;
    };
    const Case cases[] = {
        {"\\u00g9", "Invalid unicode escape sequence. \\\\u requires 4 digits\n context:"},
        {"\\u00e", "Invalid unicode escape sequence. \\\\u requires 4 digits\n context:"},
        {"\\x4", "Invalid unicode escape sequence. \\\\x requires 2 digits\n context:"},
        {"\\U0001F60", "Invalid unicode escape sequence. \\\\x requires 8 digits\n context:"},
        {"\\U0001F60z", "Invalid unicode escape sequence. \\\\x requires 8 digits\n context:"},
    };
    for (const auto& c : cases) {
        const char* p = c.text.data();
        try {
            next_parse_error_code(p, p + c.text.size(), kNoSpecials, nullptr);
            ADD_FAILURE() << "no exception for " << c.text;
        } catch (const dez::Exception& e) {
            EXPECT_EQ(std::string(e.what()), c.message);
            EXPECT_EQ(p - c.text.data(), 2) << c.text;
        }
    }
}

TEST(UnicodeNextParse, BackslashAtTheEndRaisesNotEnoughRoom) {
    const std::string text = "\\";
    const char* p = text.data();
    EXPECT_THROW(next_parse_error_code(p, p + 1, kNoSpecials, nullptr), utf8::not_enough_room);
}

TEST(UnicodeNextParse, EscapesOfNonScalarValuesAreRejected) {
    struct Case {
        std::string text;
        std::string message;
    };
    const Case cases[] = {
        {"\\uD800", "Invalid code point in unicode escape sequence [0xd800]"},
        {"\\udfff", "Invalid code point in unicode escape sequence [0xdfff]"},
        {"\\U00110000", "Invalid code point in unicode escape sequence [0x110000]"},
        {"\\U80000000", "Invalid code point in unicode escape sequence [0x80000000]"},
        {"\\UFFFFFFFF", "Invalid code point in unicode escape sequence [0xffffffff]"},
    };
    for (const auto& c : cases) {
        ErrorCode record;
        const char* p = c.text.data();
        EXPECT_EQ(next_parse_error_code(p, p + c.text.size(), kNoSpecials, &record), 0xFFFDu);
        EXPECT_EQ(p, c.text.data() + c.text.size()) << c.text;
        EXPECT_EQ(record.code, 1);
        EXPECT_EQ(record.message, c.message);
    }
    // Without a record the message goes to standard error.
    const std::string text = "\\uD800";
    const char* p = text.data();
    testing::internal::CaptureStderr();
    EXPECT_EQ(next_parse_error_code(p, p + text.size(), kNoSpecials, nullptr), 0xFFFDu);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Invalid code point in unicode escape sequence [0xd800]");
    // The largest scalar value still passes.
    const std::string top = "\\U0010FFFF";
    p = top.data();
    EXPECT_EQ(next_parse_error_code(p, p + top.size(), kNoSpecials, nullptr), 0x10FFFFu);
}

TEST(UnicodeNextParse, NextParseWritesInvalidEscapesToStandardError) {
    std::string text = "\\qz";
    auto it = text.begin();
    testing::internal::CaptureStderr();
    EXPECT_EQ(next_parse(it, text.end(), kNoSpecials), uint32_t('q'));
    EXPECT_EQ(next_parse(it, text.end(), kNoSpecials), uint32_t('z'));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Invalid escaped character [0x71(q)]");

    const std::string fine = "\\u0041";
    const char* p = fine.data();
    testing::internal::CaptureStderr();
    EXPECT_EQ(next_parse(p, p + fine.size(), kNoSpecials), uint32_t('A'));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(UnicodeDecode, ResolvesEscapesIntoText) {
    struct Case {
        std::string text;
        const std::set<char>* specials;
        std::string result;
        int code;
    };
    const Case cases[] = {
        {"a\\(b", &kParen, "a\\(b", 0},
        {"\\u0041", &kNoSpecials, "A", 0},
        {"\\q", &kNoSpecials, "q", 1},
        {"x\\\\y", &kNoSpecials, "x\\y", 1}, // non-special backslash: error, next copied raw
        {"\\u00e9\\x41\\U0001F600", &kNoSpecials, "\xC3\xA9" "A\xF0\x9F\x98\x80", 0},
        {"\\uD800!", &kNoSpecials, "\xEF\xBF\xBD!", 1},
        {"", &kNoSpecials, "", 0},
    };
    for (const auto& c : cases) {
        ErrorCode record;
        EXPECT_EQ(detail::decode(c.text.data(), c.text.data() + c.text.size(), *c.specials,
                                 &record),
                  c.result)
            << c.text;
        EXPECT_EQ(record.code, c.code) << c.text;
    }
}

TEST(UnicodeDecode, NumericBackslashCopiesTheNextCodePoint) {
    const std::string text = "\\u005cq";
    EXPECT_EQ(detail::decode(text.data(), text.data() + text.size(), kNoSpecials, nullptr),
              "\\q");
    const std::string last = "\\u005c";
    EXPECT_THROW(detail::decode(last.data(), last.data() + last.size(), kNoSpecials, nullptr),
                 utf8::not_enough_room);
}

TEST(FromUint, EncodesCodePointsAndUtf16) {
    EXPECT_EQ(dez::string::from_uint(0x41u), "A");
    EXPECT_EQ(dez::string::from_uint(0xE9u), "\xC3\xA9");
    EXPECT_EQ(dez::string::from_uint(0x20ACu), "\xE2\x82\xAC");
    EXPECT_EQ(dez::string::from_uint(0x1F600u), "\xF0\x9F\x98\x80");
    EXPECT_THROW(dez::string::from_uint(0xD800u), utf8::invalid_code_point);
    EXPECT_THROW(dez::string::from_uint(0x110000u), utf8::invalid_code_point);

    const unsigned int points[] = {'a', 0xE9, 0x1F600};
    EXPECT_EQ(dez::string::from_uint(points, points + 3), "a\xC3\xA9\xF0\x9F\x98\x80");

    EXPECT_EQ(dez::string::from_uint(static_cast<unsigned short>(0xE9)), "\xC3\xA9");
    const unsigned short pair[] = {0xD83D, 0xDE00, 'b'};
    EXPECT_EQ(dez::string::from_uint(pair, pair + 3), "\xF0\x9F\x98\x80" "b");
    EXPECT_THROW(dez::string::from_uint(static_cast<unsigned short>(0xD83D)), utf8::invalid_utf16);
    const unsigned short lone_trail[] = {0xDE00};
    EXPECT_THROW(dez::string::from_uint(lone_trail, lone_trail + 1), utf8::invalid_utf16);
    const unsigned short bad_pair[] = {0xD83D, 'x'};
    EXPECT_THROW(dez::string::from_uint(bad_pair, bad_pair + 2), utf8::invalid_utf16);
}

} // namespace

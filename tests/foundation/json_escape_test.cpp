#include "foundation/json_escape.h"

#include <gtest/gtest.h>

namespace {

using dez::json::escape_string;

TEST(JsonEscape, EscapesControlQuotesAndBackslashes) {
    struct Case {
        std::string text, escaped;
    };
    const Case cases[] = {
        {"plain / text\x7F", "plain / text\x7F"},
        {"a\tb\"c", "a\\tb\\\"c"},
        {"\b\f\n\r", "\\b\\f\\n\\r"},
        {"back\\slash", "back\\\\slash"},
        {"\x01", "\\u0001"},
        {std::string("\0\x0B\x1F", 3), "\\u0000\\u000b\\u001f"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(escape_string(c.text), c.escaped) << testing::PrintToString(c.text);
}

TEST(JsonEscape, KeepsValidUtf8AndReplacesInvalidSequences) {
    const std::string fffd = "\xEF\xBF\xBD";
    struct Case {
        std::string text, escaped;
    };
    const Case cases[] = {
        {"caf\xC3\xA9 \xF0\x9F\x98\x80\n", "caf\xC3\xA9 \xF0\x9F\x98\x80\\n"},
        {"a\x80" "b", "a" + fffd + "b"},
        {"\xC3", fffd},                       // truncated at the end
        {"\xE2\x82" "a", fffd + "a"},         // truncated before ASCII
        {"\xC0\x80\"", fffd + "\\\""},        // overlong
        {"\xED\xA0\x80", fffd},               // surrogate
        {"\xF4\x90\x80\x80", fffd},           // above U+10FFFF
        {"\xFF\xFE", fffd + fffd},
        {"\xC3\xA9\x80\xC3\xA9", "\xC3\xA9" + fffd + "\xC3\xA9"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(escape_string(c.text), c.escaped) << testing::PrintToString(c.text);
}

} // namespace

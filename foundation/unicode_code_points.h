#pragma once

#include "foundation/exception.h"

#include <utf8.h>

#include <cstdint>
#include <iterator>
#include <set>
#include <string>

namespace dez::string::unicode {

// Error record of the escape-aware reader. The caller clears it; the reader
// only ever sets code to 1 (with the message), never back to 0.
struct ErrorCode {
    int32_t code = 0;
    std::string message;
};

// True when the whole text is well-formed UTF-8 (a truncated last sequence
// included); never raises.
bool is_utf8(const std::string& text);

// Decode the code point at the position and move past it. Malformed text
// raises utfcpp's exceptions and leaves the position where it was.
// Most text is ASCII: a single byte needs no decoding.
inline uint32_t next(const char*& position, const char* end) {
    if (position < end && static_cast<unsigned char>(*position) < 0x80)
        return static_cast<unsigned char>(*position++);
    return utf8::next(position, end);
}
inline uint32_t next(std::string::iterator& position, std::string::iterator end) {
    return utf8::next(position, end);
}
inline uint32_t next(std::string::const_iterator& position, std::string::const_iterator end) {
    return utf8::next(position, end);
}

// Decode the code point at the position without moving.
inline uint32_t next_char(const char* position, const char* end) {
    return next(position, end);
}
inline uint32_t get_char(const char* position, const char* end) {
    return next(position, end);
}

// Start of the code point that ends at position. Looks back at most five
// bytes and never before begin; position itself when nothing before it
// starts a complete sequence.
const char* decrement(const char* position, const char* begin);
std::string::const_iterator decrement(std::string::const_iterator position,
                                      std::string::const_iterator begin);

// The code point that ends at position, or 0 when there is none (see decrement).
uint32_t prev_char(const char* position, const char* begin);

namespace detail {

// Slow paths of the escape reader, kept out of line.
// Reads count hexadecimal digits at text, or throws the escape's message.
uint32_t read_hex_escape(const char* text, std::ptrdiff_t available, int count, char letter);
// A value that is no Unicode scalar value: reports it and answers U+FFFD.
uint32_t reject_escape_value(uint32_t value, ErrorCode* record);
// An escaped character that is neither numeric nor special.
void report_invalid_escape(uint32_t escaped, ErrorCode* record);

template <typename Iterator>
const char* byte_address(Iterator position) {
    return &*position;
}
inline const char* byte_address(const char* position) {
    return position;
}

// Decode a whole range with the escape-aware reader into UTF-8 text.
std::string decode(const char* begin, const char* end, const std::set<char>& specials,
                   ErrorCode* record);

} // namespace detail

// Escape-aware read. A backslash before a character of specials comes back
// as the backslash itself with the position left on that character; \uXXXX,
// \xXX and \UXXXXXXXX give the value they name (U+FFFD and an error in the
// record for surrogates and values beyond U+10FFFF); any other escaped
// character comes back without its backslash and sets the record (or is
// written to standard error when no record is given).
template <typename Iterator>
uint32_t next_parse_error_code_tpl(Iterator& position, Iterator end, const std::set<char>& specials,
                                   ErrorCode* record) {
    uint32_t c = utf8::next(position, end);
    if (c != '\\')
        return c;
    Iterator escaped_at = position;
    uint32_t e = utf8::next(position, end);
    int digits = 0;
    switch (e) {
    case 'u': digits = 4; break;
    case 'x': digits = 2; break;
    case 'U': digits = 8; break;
    default: break;
    }
    if (digits != 0) {
        std::ptrdiff_t available = std::distance(position, end);
        const char* text = available > 0 ? detail::byte_address(position) : nullptr;
        uint32_t value = detail::read_hex_escape(text, available, digits, static_cast<char>(e));
        std::advance(position, digits);
        if (value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
            return detail::reject_escape_value(value, record);
        return value;
    }
    if (specials.count(static_cast<char>(e & 0xFF)) != 0) {
        position = escaped_at;
        return c;
    }
    detail::report_invalid_escape(e, record);
    return e;
}

uint32_t next_parse_error_code(const char*& position, const char* end,
                               const std::set<char>& specials, ErrorCode* record);
uint32_t next_parse_error_code(std::string::iterator& position, std::string::iterator end,
                               const std::set<char>& specials, ErrorCode* record);
uint32_t next_parse_error_code(std::string::const_iterator& position,
                               std::string::const_iterator end, const std::set<char>& specials,
                               ErrorCode* record);

// As next_parse_error_code, writing an invalid escape's message to standard error.
uint32_t next_parse(const char*& position, const char* end, const std::set<char>& specials);
uint32_t next_parse(std::string::iterator& position, std::string::iterator end,
                    const std::set<char>& specials);
uint32_t next_parse(std::string::const_iterator& position, std::string::const_iterator end,
                    const std::set<char>& specials);

} // namespace dez::string::unicode

namespace dez::string {

// UTF-8 of code points (raises utf8::invalid_code_point for surrogates and
// values beyond U+10FFFF) and of UTF-16 code units (raises utf8::invalid_utf16
// for unpaired surrogates).
std::string from_uint(unsigned int code_point);
std::string from_uint(const unsigned int* begin, const unsigned int* end);
std::string from_uint(unsigned short unit);
std::string from_uint(const unsigned short* begin, const unsigned short* end);

} // namespace dez::string

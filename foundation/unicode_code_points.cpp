#include "foundation/unicode_code_points.h"

#include <iostream>
#include <iterator>
#include <sstream>

namespace dez::string::unicode {

bool is_utf8(const std::string& text) {
    return utf8::is_valid(text.begin(), text.end());
}

namespace {

// Position of the start of the code point ending at position, or position.
template <typename Iterator>
Iterator decrement_impl(Iterator position, Iterator begin) {
    Iterator candidate = position;
    for (int back = 1; back <= 5 && candidate != begin; ++back) {
        --candidate;
        auto lead = static_cast<unsigned char>(*candidate);
        if (lead < 0x80)
            return candidate;
        if ((lead & 0xC0) == 0x80 || lead >= 0xF8)
            continue; // cannot start a sequence
        Iterator walk = candidate;
        uint32_t code_point = 0;
        switch (utf8::internal::validate_next(walk, position, code_point)) {
        case utf8::internal::UTF8_OK:
            return candidate;
        case utf8::internal::NOT_ENOUGH_ROOM:
            continue; // the sequence would reach past position
        case utf8::internal::INVALID_CODE_POINT:
            throw utf8::invalid_code_point(code_point);
        default:
            throw utf8::invalid_utf8(static_cast<uint8_t>(lead));
        }
    }
    return position;
}

std::string hex_digits(uint32_t value) {
    std::ostringstream out;
    out << std::hex << value;
    return out.str();
}

bool is_hex_digit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

uint32_t hex_value(char c) {
    if (c <= '9')
        return static_cast<uint32_t>(c - '0');
    if (c <= 'F')
        return static_cast<uint32_t>(c - 'A' + 10);
    return static_cast<uint32_t>(c - 'a' + 10);
}

} // namespace

const char* decrement(const char* position, const char* begin) {
    return decrement_impl(position, begin);
}

std::string::const_iterator decrement(std::string::const_iterator position,
                                      std::string::const_iterator begin) {
    return decrement_impl(position, begin);
}

uint32_t prev_char(const char* position, const char* begin) {
    const char* start = decrement(position, begin);
    if (start == position)
        return 0;
    return utf8::next(start, position);
}

namespace detail {

uint32_t read_hex_escape(const char* text, std::ptrdiff_t available, int count, char letter) {
    bool complete = available >= count;
    for (int i = 0; complete && i < count; ++i)
        complete = is_hex_digit(text[i]);
    if (!complete) {
        // The 8-digit form has always been reported under \x.
        char named = letter == 'u' ? 'u' : 'x';
        std::ostringstream message;
        message << "Invalid unicode escape sequence. \\\\" << named << " requires " << count
                << " digits\n context:";
        throw dez::Exception(message);
    }
    uint32_t value = 0;
    for (int i = 0; i < count; ++i)
        value = (value << 4) | hex_value(text[i]);
    return value;
}

namespace {

void report(const std::string& message, ErrorCode* record) {
    if (record != nullptr) {
        record->code = 1;
        record->message = message;
    } else {
        std::cerr << message;
    }
}

} // namespace

uint32_t reject_escape_value(uint32_t value, ErrorCode* record) {
    // Passing such a value on would only fail later, when it is encoded.
    report("Invalid code point in unicode escape sequence [0x" + hex_digits(value) + "]", record);
    return 0xFFFD;
}

void report_invalid_escape(uint32_t escaped, ErrorCode* record) {
    std::string message = "Invalid escaped character [";
    message += escaped == 0 ? std::string("0") : "0x" + hex_digits(escaped);
    if (escaped <= 0x7E) {
        message += '(';
        message += static_cast<char>(escaped);
        message += ')';
    }
    message += ']';
    report(message, record);
}

std::string decode(const char* begin, const char* end, const std::set<char>& specials,
                   ErrorCode* record) {
    std::string result;
    result.reserve(static_cast<std::size_t>(end - begin));
    auto out = std::back_inserter(result);
    while (begin != end) {
        uint32_t c = next_parse_error_code_tpl(begin, end, specials, record);
        out = utf8::append(c, out);
        if (c == '\\')
            out = utf8::append(utf8::next(begin, end), out);
    }
    return result;
}

} // namespace detail

uint32_t next_parse_error_code(const char*& position, const char* end,
                               const std::set<char>& specials, ErrorCode* record) {
    return next_parse_error_code_tpl(position, end, specials, record);
}

uint32_t next_parse_error_code(std::string::iterator& position, std::string::iterator end,
                               const std::set<char>& specials, ErrorCode* record) {
    return next_parse_error_code_tpl(position, end, specials, record);
}

uint32_t next_parse_error_code(std::string::const_iterator& position,
                               std::string::const_iterator end, const std::set<char>& specials,
                               ErrorCode* record) {
    return next_parse_error_code_tpl(position, end, specials, record);
}

namespace {

template <typename Iterator>
uint32_t next_parse_impl(Iterator& position, Iterator end, const std::set<char>& specials) {
    ErrorCode record;
    uint32_t c = next_parse_error_code_tpl(position, end, specials, &record);
    if (record.code != 0)
        std::cerr << record.message;
    return c;
}

} // namespace

uint32_t next_parse(const char*& position, const char* end, const std::set<char>& specials) {
    return next_parse_impl(position, end, specials);
}

uint32_t next_parse(std::string::iterator& position, std::string::iterator end,
                    const std::set<char>& specials) {
    return next_parse_impl(position, end, specials);
}

uint32_t next_parse(std::string::const_iterator& position, std::string::const_iterator end,
                    const std::set<char>& specials) {
    return next_parse_impl(position, end, specials);
}

} // namespace dez::string::unicode

namespace dez::string {

std::string from_uint(unsigned int code_point) {
    std::string result;
    utf8::append(code_point, std::back_inserter(result));
    return result;
}

std::string from_uint(const unsigned int* begin, const unsigned int* end) {
    std::string result;
    utf8::utf32to8(begin, end, std::back_inserter(result));
    return result;
}

std::string from_uint(unsigned short unit) {
    std::string result;
    utf8::utf16to8(&unit, &unit + 1, std::back_inserter(result));
    return result;
}

std::string from_uint(const unsigned short* begin, const unsigned short* end) {
    std::string result;
    utf8::utf16to8(begin, end, std::back_inserter(result));
    return result;
}

} // namespace dez::string

#include "core-afst/formatted_string.h"

#include "core-afst/builder_calls.h"
#include "foundation/unicode_code_points.h"

#include <utf8.h>

#include <stdexcept>

namespace dez::afst {

namespace {

// Walks code points (checking the UTF-8) up to `last`; answers where `last`
// stands, with `position` after it, or null when the text ends first.
const char* run_end(const char*& position, const char* end, uint32_t last) {
    while (position != end) {
        const char* at = position;
        if (utf8::next(position, end) == last)
            return at;
    }
    return nullptr;
}

} // namespace

namespace detail {

void add_formatted_string(BuilderCalls& builder, const char* begin, const char* end) {
    if (end < begin)
        throw std::out_of_range("Invalid utf-8 iterator position");
    const char* position = begin;
    while (position != end) {
        uint32_t c = utf8::next(position, end);
        switch (c) {
        case '\\':
            if (position == end)
                return;
            builder.pushArc(dez::string::from_uint(utf8::next(position, end)), "eps");
            break;
        case '(':
            builder.open_group();
            break;
        case ')': {
            if (position == end) {
                builder.close_group("");
                break;
            }
            const char* after = position;
            uint32_t next = utf8::next(position, end);
            if (next == '*' || next == '+' || next == '?') {
                builder.close_group(std::string(1, static_cast<char>(next)));
            } else if (next == '{') {
                const char* counts = position;
                const char* close = run_end(position, end, '}');
                if (close == nullptr)
                    throw std::runtime_error("missing } braket]");
                builder.close_group(std::string(counts, close));
            } else {
                // Not a closure: read that code point again as the next token.
                builder.close_group("");
                position = after;
            }
            break;
        }
        case '.':
            builder.pushArc("??", "eps");
            break;
        case '[': {
            const char* symbol = position;
            const char* close = run_end(position, end, ']');
            if (close == nullptr)
                throw std::runtime_error("missing braket ]");
            builder.pushArc(std::string(symbol, close), "eps");
            break;
        }
        case '|':
            builder.separator("union");
            break;
        default:
            builder.pushArc(dez::string::from_uint(c), "eps");
            break;
        }
    }
}

} // namespace detail

void add_formatted_string(Builder* builder, const char* text) {
    detail::BuilderCallsOn calls(*builder);
    detail::add_formatted_string(calls, text, text + std::char_traits<char>::length(text));
}

void add_formatted_string(Builder* builder, const std::string& text) {
    add_formatted_string(builder, text.c_str());
}

void add_formatted_string(std::shared_ptr<Builder>& builder, const std::string& text) {
    add_formatted_string(builder.get(), text.c_str());
}

void add_formatted_string(std::shared_ptr<Builder>& builder, const char* text) {
    add_formatted_string(builder.get(), text);
}

} // namespace dez::afst

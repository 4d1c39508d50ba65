#include "foundation/json_escape.h"

#include <utf8.h>

#include <iterator>

namespace dez::json {

namespace {

bool needs_work(unsigned char c) {
    return c < 0x20 || c == '"' || c == '\\' || c >= 0x80;
}

void append_escaped(std::string& out, unsigned char c) {
    static const char hex[] = "0123456789abcdef";
    switch (c) {
    case '\b': out += "\\b"; break;
    case '\t': out += "\\t"; break;
    case '\n': out += "\\n"; break;
    case '\f': out += "\\f"; break;
    case '\r': out += "\\r"; break;
    case '"': out += "\\\""; break;
    case '\\': out += "\\\\"; break;
    default:
        out += "\\u00";
        out += hex[c >> 4];
        out += hex[c & 0xF];
        break;
    }
}

} // namespace

std::string escape_string(const std::string& s) {
    const char* at = s.data();
    const char* end = at + s.size();
    const char* plain = at;
    // Fast path: nothing to escape and no byte outside ASCII.
    while (plain != end && !needs_work(static_cast<unsigned char>(*plain)))
        ++plain;
    if (plain == end)
        return s;

    std::string out;
    out.reserve(s.size() + 8);
    out.append(at, plain);
    at = plain;
    while (at != end) {
        auto c = static_cast<unsigned char>(*at);
        if (c >= 0x80) {
            // A run of non-ASCII bytes: no valid sequence spans an ASCII byte.
            const char* run_end = at;
            while (run_end != end && static_cast<unsigned char>(*run_end) >= 0x80)
                ++run_end;
            utf8::replace_invalid(at, run_end, std::back_inserter(out));
            at = run_end;
        } else if (needs_work(c)) {
            append_escaped(out, c);
            ++at;
        } else {
            out += static_cast<char>(c);
            ++at;
        }
    }
    return out;
}

} // namespace dez::json

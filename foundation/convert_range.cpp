#include "foundation/convert_range.h"

#include <stdexcept>

namespace dez::tlx {

namespace {

// Writes the elements of one bracket, starting just after its "[", and answers
// the position after its closing "]" (or the end of the pattern).
std::size_t convert_bracket(const std::string& pattern, std::size_t at, std::string& out) {
    const std::size_t size = pattern.size();
    bool first_element = true;
    auto separate = [&] {
        if (!first_element)
            out += '|';
        first_element = false;
    };
    while (at < size) {
        const char c = pattern[at];
        if (c == ']')
            return at + 1;
        if (c == '\\') {
            separate();
            out += c;
            if (at + 1 < size)
                out += pattern[at + 1];
            at += 2;
        } else if (c == '(' || c == ')' || c == '.' || c == '[') {
            separate();
            out += '\\';
            out += c;
            ++at;
        } else if (at + 2 < size && pattern[at + 1] == '-') {
            const unsigned begin = static_cast<unsigned char>(c);
            const unsigned end = static_cast<unsigned char>(pattern[at + 2]);
            if (end < begin)
                throw std::runtime_error("begin range is bigger then the end range.");
            for (unsigned byte = begin; byte <= end; ++byte) {
                separate();
                switch (byte) {
                case '(':
                case ')':
                case '*':
                case '+':
                case '?':
                case '[':
                case ']':
                case '{':
                case '}':
                    out += '\\';
                    break;
                default:
                    break;
                }
                out += static_cast<char>(byte);
            }
            at += 3;
        } else {
            separate();
            out += c;
            ++at;
        }
    }
    return at;
}

} // namespace

std::string convert_range(const std::string& pattern) {
    std::string out;
    out.reserve(pattern.size());
    const std::size_t size = pattern.size();
    std::size_t at = 0;
    while (at < size) {
        const char c = pattern[at];
        if (c == '\\') {
            out += c;
            if (at + 1 < size)
                out += pattern[at + 1];
            at += 2;
        } else if (c == ']') {
            throw std::runtime_error("invalid expression ] need to be escaped.");
        } else if (c == '[') {
            out += "(?:";
            at = convert_bracket(pattern, at + 1, out);
            out += ')';
        } else {
            out += c;
            ++at;
        }
    }
    return out;
}

} // namespace dez::tlx

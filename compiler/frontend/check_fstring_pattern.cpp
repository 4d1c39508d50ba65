#include "compiler/frontend/check_fstring_pattern.h"

#include <algorithm>
#include <set>

#include "foundation/regex.h"

namespace dez::compiler {

namespace {

const std::set<std::string>& fstring_variable_names() {
    static const std::set<std::string> names = {"capture",   "rule",     "this",        "sentence",
                                                "normalize", "camelize", "initial_caps"};
    return names;
}

constexpr const char* path_separators = ".([";

const dez::Regex& single_brace_variable() {
    static const dez::Regex regex("(?<!\\{)\\{([^{}]+)\\}(?!\\})", false);
    return regex;
}

// Words that would let a format reach the interpreter behind the plugin.
const dez::Regex& forbidden_words() {
    static const dez::Regex regex(
        "import |open|close|with|execfile|stdin|environ|from |exit|load|exec|eval|input|print|"
        "compile|os\\.|sys\\.|'os\\.'|'sys\\.'|globals|locals|__|memoryview|\\.iter\\(|vars|"
        "breakpoint",
        false);
    return regex;
}

// [a-zA-Z0-9_]+ over the whole text.
bool is_name_segment(const std::string& text, std::size_t from, std::size_t to) {
    if (from >= to)
        return false;
    return std::all_of(text.begin() + from, text.begin() + to, [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '_';
    });
}

} // namespace

bool check_fstring_variable(const std::string& v) {
    if (v.size() < 5 || v.front() != '{' || v.back() != '}')
        return false;
    const std::size_t close = v.size() - 1;

    std::size_t s = v.find_first_of(path_separators, 1);
    if (s == std::string::npos || s >= close)
        return false;
    if (!fstring_variable_names().count(v.substr(1, s - 1)))
        return false;

    // The path goes on from the head's separator, which the steps below read
    // like any other: "{normalize(capture.name)}" and "{capture[0]}" are paths.
    while (s < close) {
        std::size_t next = v.find_first_of(path_separators, s);
        if (next == std::string::npos || next >= close)
            return is_name_segment(v, s, close);
        if (next > s && !is_name_segment(v, s, next))
            return false;
        const char separator = v[next];
        if (separator == '.') {
            s = next + 1;
            if (s == close)
                return false;
            continue;
        }
        const std::size_t closing = v.find(separator == '(' ? ')' : ']', next + 1);
        if (closing == std::string::npos || closing >= close)
            return false;
        const std::size_t after = closing + 1;
        if (after == close)
            return true;
        if (v[after] == '.' || v[after] == ')')
            s = after + 1;
        else if (v[after] == '[')
            s = after;
        else
            return false;
    }
    return true;
}

int check_fstring_pattern(const std::string& text) {
    int count = 0;
    auto position = text.cbegin();
    while (position != text.cend()) {
        dez::SMatch match;
        if (!single_brace_variable().regex_search(position, text.cend(), match))
            break;
        const std::string variable = match[0].str;
        if (!check_fstring_variable(variable))
            return -2;
        dez::SMatch forbidden;
        if (forbidden_words().regex_search(variable, forbidden))
            return -1;
        ++count;
        position = text.cbegin() + (match[0].second - text.data());
    }
    return count;
}

} // namespace dez::compiler

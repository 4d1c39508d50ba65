#include "core-afst/pattern_line.h"

#include "core-afst/builder_calls.h"

#include <utf8.h>

#include <algorithm>
#include <iostream>
#include <iterator>

namespace dez::afst {

namespace {

using Iter = std::string::const_iterator;
using Pairs = std::vector<std::pair<std::string, std::string>>;
namespace unicode = dez::string::unicode;

// Built with the library, read-only afterwards.
const std::set<char> special_characters = {'.', '*', '\\', '+', '?', '(', ')',
                                           '[', ']', '{',  '}', ',', '|', '$'};

uint32_t read(Iter& position, Iter end, const std::set<char>& specials, unicode::ErrorCode& error) {
    return unicode::next_parse_error_code(position, end, specials, &error);
}

// The reader hands back a lone backslash (one byte consumed) when a special
// character follows; that character is then a symbol in its own right.
bool escapes_special(uint32_t c, Iter start, Iter position) {
    return c == '\\' && std::distance(start, position) == 1;
}

// After "[": the code points up to the next "]" (or the end), which is
// consumed as well.
std::string bracket_run(Iter& position, Iter end, const std::set<char>& specials,
                        unicode::ErrorCode& error) {
    std::string text;
    while (position != end) {
        uint32_t c = read(position, end, specials, error);
        if (c == ']')
            break;
        text += dez::string::from_uint(c);
    }
    return text;
}

// Passes over code points up to and including "]"; false at the end.
bool pass_bracket_run(Iter& position, Iter end) {
    while (position != end)
        if (utf8::next(position, end) == ']')
            return true;
    return false;
}

// Tokens of a "regex:" text; `unbalanced` tells a ")" without an open group
// apart from a text that simply has no tokens.
Pairs parse_regex(const std::string& text, const std::set<char>& specials,
                  unicode::ErrorCode& error, bool& unbalanced) {
    unbalanced = false;
    std::vector<std::string> parts;
    split_up_down(parts, text, 0, specials);
    const bool has_upper = parts.size() == 2;
    const std::string& lower = parts[0];
    const std::string empty;
    const std::string& upper = has_upper ? parts[1] : empty;

    Iter up = upper.begin();
    const Iter up_end = upper.end();
    auto next_upper = [&]() -> std::string {
        if (!has_upper)
            return "in";
        if (up == up_end)
            return "eps";
        uint32_t c = read(up, up_end, specials, error);
        if (c == '[')
            return bracket_run(up, up_end, specials, error);
        return dez::string::from_uint(c);
    };

    Pairs pairs;
    int depth = 0;
    Iter low = lower.begin();
    const Iter low_end = lower.end();
    while (low != low_end) {
        Iter start = low;
        uint32_t c = read(low, low_end, specials, error);
        std::string symbol;
        if (c == '.' && *start == '.') {
            symbol = "??";
        } else if (c == '[') {
            symbol = bracket_run(low, low_end, specials, error);
        } else if (c == '(' || c == '|') {
            if (c == '(')
                ++depth;
            // The operator's source text: a numeric escape stays unrecognised.
            pairs.emplace_back(std::string(start, low), "format");
            continue;
        } else if (c == ')') {
            if (depth == 0) {
                std::cerr << "Error missing open bracket in FST push [" << text << "]" << std::endl;
                unbalanced = true;
                return Pairs();
            }
            --depth;
            std::string closure;
            get_closure_string(start, low, low_end, closure);
            pairs.emplace_back(closure, "format");
            continue;
        } else if (escapes_special(c, start, low)) {
            symbol = dez::string::from_uint(utf8::next(low, low_end));
        } else {
            symbol = dez::string::from_uint(c);
        }
        pairs.emplace_back(std::move(symbol), next_upper());
    }
    while (up != up_end)
        pairs.emplace_back("eps", next_upper());
    if (error.code != 0)
        std::cerr << error.message << std::endl;
    return pairs;
}

enum class Operator { open, close, alternative, unknown, unterminated };

// What an operator pair asks of the builder; `modifier` gets the closure.
Operator classify(const std::string& text, std::string& modifier) {
    modifier.clear();
    if (text == "(")
        return Operator::open;
    if (text == "|")
        return Operator::alternative;
    if (text.empty() || text[0] != ')')
        return Operator::unknown;
    if (text.size() >= 2 && text[1] == '{') {
        const auto close = text.find('}');
        if (close == std::string::npos)
            return Operator::unterminated;
        modifier = text.substr(2, close - 2);
        return Operator::close;
    }
    if (text.size() == 2)
        modifier = text.substr(1);
    return Operator::close;
}

} // namespace

const std::set<char>& pattern_special_characters() {
    return special_characters;
}

void split_up_down(std::vector<std::string>& parts, const std::string& text, uint32_t /*first*/,
                   const std::set<char>& specials) {
    parts.clear();
    unicode::ErrorCode error;
    Iter position = text.begin();
    const Iter end = text.end();
    while (position != end) {
        const Iter start = position;
        uint32_t c = utf8::next(position, end);
        if (c == '\\') {
            if (position == end)
                break;
            const char escaped = *position;
            if (escaped == ':') {
                // An escaped colon never splits, whatever the set says of it.
                position = start;
                read(position, end, specials, error);
                // The reader takes "\\:" whole unless the colon is in the set;
                // then it stops after the backslash and the colon is passed here.
                // A colon right after an escaped one still splits.
                if (position == start + 1 && position != end && *position == ':')
                    ++position;
            } else if (escaped == '[') {
                ++position;
                if (!pass_bracket_run(position, end))
                    break;
            } else if (escaped == '\\') {
                ++position;
                if (position != end)
                    utf8::next(position, end);
            } else {
                utf8::next(position, end);
            }
        } else if (c == '[') {
            if (!pass_bracket_run(position, end))
                break;
        } else if (c == ':') {
            parts.emplace_back(text.begin(), start);
            parts.emplace_back(position, end);
            return;
        }
    }
    parts.push_back(text);
    if (error.code != 0)
        std::cerr << error.message << std::endl;
}

bool get_closure_string(Iter& start, Iter& position, const Iter& end, std::string& out) {
    if (position == end) {
        out.assign(start, position);
        return false;
    }
    Iter next = position;
    uint32_t c = utf8::next(next, end);
    if (c == '*' || c == '+' || c == '?') {
        position = next;
        out.assign(start, position);
        return true;
    }
    if (c == '{') {
        while (next != end)
            if (utf8::next(next, end) == '}')
                break;
        position = next;
        out.assign(start, position);
        return true;
    }
    out.assign(start, position);
    return false;
}

std::vector<std::pair<std::string, std::string>>
parseline(const std::string& text, const std::set<char>& specials, unicode::ErrorCode& error) {
    bool unbalanced = false;
    return parse_regex(text, specials, error, unbalanced);
}

std::vector<std::pair<std::string, std::string>>
parseline(std::string_view text, const std::set<char>& specials, unicode::ErrorCode& error) {
    return parseline(std::string(text), specials, error);
}

std::vector<std::pair<std::string, std::string>>
parseline_raw(const std::string& text, const std::set<char>& specials, unicode::ErrorCode& error) {
    std::vector<std::string> parts;
    split_up_down(parts, text, 0, specials);

    std::vector<std::string> lower;
    const std::string& low_text = parts[0];
    Iter low = low_text.begin();
    const Iter low_end = low_text.end();
    while (low != low_end) {
        const Iter start = low;
        uint32_t c = read(low, low_end, specials, error);
        if (escapes_special(c, start, low)) {
            lower.push_back(dez::string::from_uint(utf8::next(low, low_end)));
        } else if (c == '[') {
            // Only end markers are multi-character symbols on the read side.
            const Iter after = low;
            std::string run = bracket_run(low, low_end, specials, error);
            if (run.compare(0, 4, "#end") == 0) {
                lower.push_back(std::move(run));
            } else {
                lower.push_back("[");
                low = after;
            }
        } else {
            lower.push_back(dez::string::from_uint(c));
        }
    }

    Pairs pairs;
    if (parts.size() == 1) {
        for (auto& symbol : lower)
            pairs.emplace_back(std::move(symbol), "in");
        return pairs;
    }

    std::vector<std::string> upper;
    const std::string& up_text = parts[1];
    Iter up = up_text.begin();
    const Iter up_end = up_text.end();
    while (up != up_end) {
        const Iter start = up;
        uint32_t c = read(up, up_end, specials, error);
        if (escapes_special(c, start, up))
            upper.push_back(dez::string::from_uint(utf8::next(up, up_end)));
        else if (c == '[')
            upper.push_back(bracket_run(up, up_end, specials, error));
        else
            upper.push_back(dez::string::from_uint(c));
    }

    const std::size_t count = std::max(lower.size(), upper.size());
    for (std::size_t i = 0; i < count; ++i)
        pairs.emplace_back(i < lower.size() ? std::move(lower[i]) : std::string("eps"),
                           i < upper.size() ? std::move(upper[i]) : std::string("eps"));
    return pairs;
}

namespace detail {

int push_arcs_line(BuilderCalls& builder, const std::string& line) {
    if (line.empty())
        return 1;
    unicode::ErrorCode error;
    Pairs pairs;
    static const std::string regex_prefix = "regex:";
    if (line.compare(0, regex_prefix.size(), regex_prefix) == 0) {
        bool unbalanced = false;
        pairs =
            parse_regex(line.substr(regex_prefix.size()), special_characters, error, unbalanced);
        if (unbalanced)
            return -1;
    } else {
        pairs = parseline_raw(line, special_characters, error);
    }

    // Every operator is checked before the first call: a line that cannot be
    // fed whole feeds nothing, so no half-built rule is left behind.
    std::string modifier;
    for (const auto& [lower, upper] : pairs) {
        if (upper != "format")
            continue;
        switch (classify(lower, modifier)) {
        case Operator::unknown:
            std::cerr << "unknown format string." << std::endl;
            return -2;
        case Operator::unterminated:
            return -3;
        default:
            break;
        }
    }

    for (const auto& [lower, upper] : pairs) {
        if (upper != "format") {
            builder.pushArc(lower, upper);
            continue;
        }
        switch (classify(lower, modifier)) {
        case Operator::open:
            builder.open_group();
            break;
        case Operator::close:
            builder.close_group(modifier);
            break;
        case Operator::alternative:
            builder.separator("union");
            break;
        default:
            break;
        }
    }
    return 0;
}

} // namespace detail

int push_arcs_line(Builder& builder, const std::string& line) {
    detail::BuilderCallsOn calls(builder);
    return detail::push_arcs_line(calls, line);
}

} // namespace dez::afst

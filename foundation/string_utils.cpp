#include "foundation/string_utils.h"

#include <unicode/uchar.h>
#include <utf8.h>

#include <algorithm>
#include <cctype>
#include <iterator>

namespace dez::string {

std::string strip_quotes(const std::string& s) {
    if (s.size() >= 2 && s.front() == '"')
        return s.substr(1, s.size() - 2);
    return s;
}

bool starts_with(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && s.compare(0, prefix.size(), prefix) == 0;
}

bool ends_with(std::string_view s, std::string_view suffix) {
    return s.size() >= suffix.size() &&
           s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

bool iequals(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

void replace_all(std::string& s, std::string_view what, std::string_view with) {
    if (what.empty())
        return; // every position would match, forever
    std::size_t at = s.find(what.data(), 0, what.size());
    while (at != std::string::npos) {
        s.replace(at, what.size(), with.data(), with.size());
        at = s.find(what.data(), at + with.size(), what.size());
    }
}

std::size_t findn(const std::string& s, char ch, int n) {
    if (n <= 0)
        return 0;
    std::size_t at = 0;
    for (int i = 0; i < n; ++i) {
        at = s.find(ch, at + 1);
        if (at == std::string::npos)
            return s.size();
    }
    return at;
}

std::string join(const std::vector<std::string>& parts, const std::string& sep, int begin,
                 int end) {
    const int count = static_cast<int>(parts.size());
    if (end < 0)
        end += 1 + count;
    if (begin < 0)
        begin = std::max(0, begin + 1 + count);
    end = std::min(end, count);
    std::string result;
    for (int i = begin; i < end; ++i) {
        if (i != begin)
            result += sep;
        result += parts[static_cast<std::size_t>(i)];
    }
    return result;
}

std::string join(const std::set<std::string>& parts, const std::string& sep, int begin, int end) {
    return join(std::vector<std::string>(parts.begin(), parts.end()), sep, begin, end);
}

void split_vector(std::vector<std::string>& out, std::string_view text, char separator,
                  bool drop_empty) {
    _split_vector(out, text.data(), text.data() + text.size(), separator, drop_empty);
}

std::vector<std::string> split_vector(const std::string& text, char separator, bool drop_empty) {
    std::vector<std::string> out;
    if (!text.empty())
        _split_vector(out, text.data(), text.data() + text.size(), separator, drop_empty);
    return out;
}

void split_vector(std::vector<std::string>& out, std::string::const_iterator first,
                  std::string::const_iterator last, char separator, bool drop_empty) {
    _split_vector(out, first, last, separator, drop_empty);
}

std::vector<std::string> split_vector(std::string::const_iterator first,
                                      std::string::const_iterator last, char separator,
                                      bool drop_empty) {
    std::vector<std::string> out;
    _split_vector(out, first, last, separator, drop_empty);
    return out;
}

void split_vector(std::vector<std::string>& out, std::string::const_iterator first,
                  std::string::const_iterator last, const char* separators, bool drop_empty) {
    _split_vector(out, first, last, separators, drop_empty);
}

void split_vector(std::vector<std::string>& out, const std::string& text, const char* separators,
                  bool drop_empty) {
    _split_vector(out, text.data(), text.data() + text.size(), separators, drop_empty);
}

std::vector<std::string> split_vector(const std::string& text, const char* separators,
                                      bool drop_empty) {
    std::vector<std::string> out;
    if (!text.empty())
        _split_vector(out, text.data(), text.data() + text.size(), separators, drop_empty);
    return out;
}

void split_set(std::set<std::string>& out, const std::string& s, char separator) {
    if (s.empty())
        return;
    std::vector<std::string> parts;
    _split_vector(parts, s.data(), s.data() + s.size(), separator, false);
    out = std::set<std::string>(parts.begin(), parts.end());
}

namespace {

std::string camel_case(const std::string& s, char separator, bool uri) {
    std::string result;
    result.reserve(s.size());
    auto out = std::back_inserter(result);
    bool word_start = true;
    bool lowering = true;
    for (auto at = s.begin(); at != s.end();) {
        uint32_t c = utf8::next(at, s.end());
        auto cp = static_cast<UChar32>(c);
        if (word_start) {
            if (u_islower(cp))
                c = static_cast<uint32_t>(u_toupper(cp));
            word_start = false;
            lowering = true;
        } else if (c == ' ' || c == '-') {
            if (separator != '\0')
                result += separator;
            word_start = true;
            continue;
        } else if (c == '.') {
            word_start = true;
        } else if (lowering && u_isupper(cp)) {
            c = static_cast<uint32_t>(u_tolower(cp));
        } else if (uri) {
            // Mixed-case words such as "McDonald" keep their case from here on.
            lowering = false;
        }
        out = utf8::append(c, out);
    }
    return result;
}

} // namespace

std::string camel_case_word(const std::string& s, char separator) {
    return camel_case(s, separator, false);
}

std::string uri_camel_case_word(const std::string& s, char separator) {
    return camel_case(s, separator, true);
}

} // namespace dez::string

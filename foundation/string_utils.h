#pragma once

#include <cstddef>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace dez::string {

// s without its first and last byte when it starts with a double quote.
std::string strip_quotes(const std::string& s);

bool starts_with(std::string_view s, std::string_view prefix);
bool ends_with(std::string_view s, std::string_view suffix);

// Byte-wise comparison after the C library's tolower.
bool iequals(const std::string& a, const std::string& b);

// Replaces every occurrence of what, never searching the inserted text again.
// An empty what leaves s unchanged.
void replace_all(std::string& s, std::string_view what, std::string_view with);

// Index of the n-th ch, searching from index 1; s.size() when there are fewer,
// 0 when n <= 0.
std::size_t findn(const std::string& s, char ch, int n);

// parts[begin] .. parts[end - 1] joined by sep. Negative indexes count from the
// end (-1 stands for the number of parts); end is clamped to the number of parts.
std::string join(const std::vector<std::string>& parts, const std::string& sep, int begin,
                 int end);
std::string join(const std::set<std::string>& parts, const std::string& sep, int begin, int end);

namespace detail {

// Separator tests for the split worker.
struct SingleSeparator {
    char separator;
    bool operator()(char c) const { return c == separator; }
};

struct SeparatorList {
    bool table[256] = {};
    explicit SeparatorList(const char* separators) {
        for (; *separators != '\0'; ++separators)
            table[static_cast<unsigned char>(*separators)] = true;
    }
    bool operator()(char c) const { return table[static_cast<unsigned char>(c)]; }
};

} // namespace detail

// The split worker: appends the parts of [first, last) to out. A run of
// separators counts as one when compress is set; empty parts are left out
// when drop_empty is set. No allocation besides the parts themselves.
template <typename Iterator, typename IsSeparator>
void _split_vector(std::vector<std::string>& out, Iterator first, Iterator last,
                   const IsSeparator& is_separator, bool compress, bool drop_empty) {
    Iterator part = first;
    Iterator at = first;
    while (at != last) {
        if (!is_separator(*at)) {
            ++at;
            continue;
        }
        if (!drop_empty || part != at)
            out.emplace_back(part, at);
        ++at;
        if (compress)
            while (at != last && is_separator(*at))
                ++at;
        part = at;
    }
    if (!drop_empty || part != last)
        out.emplace_back(part, last);
}

// Single separator byte: a run of separators always counts as one.
template <typename Iterator>
void _split_vector(std::vector<std::string>& out, Iterator first, Iterator last, char separator,
                   bool drop_empty) {
    _split_vector(out, first, last, detail::SingleSeparator{separator}, true, drop_empty);
}

// Separator list: a run counts as one only when empty parts are dropped.
template <typename Iterator>
void _split_vector(std::vector<std::string>& out, Iterator first, Iterator last,
                   const char* separators, bool drop_empty) {
    _split_vector(out, first, last, detail::SeparatorList(separators), drop_empty, drop_empty);
}

// The split family. An empty input gives one empty part, except for the two
// members that take a std::string and return a new vector: they return none.
void split_vector(std::vector<std::string>& out, std::string_view text, char separator,
                  bool drop_empty);
std::vector<std::string> split_vector(const std::string& text, char separator, bool drop_empty);
void split_vector(std::vector<std::string>& out, std::string::const_iterator first,
                  std::string::const_iterator last, char separator, bool drop_empty);
std::vector<std::string> split_vector(std::string::const_iterator first,
                                      std::string::const_iterator last, char separator,
                                      bool drop_empty);
void split_vector(std::vector<std::string>& out, std::string::const_iterator first,
                  std::string::const_iterator last, const char* separators, bool drop_empty);
void split_vector(std::vector<std::string>& out, const std::string& text, const char* separators,
                  bool drop_empty);
std::vector<std::string> split_vector(const std::string& text, const char* separators,
                                      bool drop_empty);

// Replaces out by the parts of a non-empty s (runs of separators count as one);
// an empty s leaves out unchanged.
void split_set(std::set<std::string>& out, const std::string& s, char separator);

// Each word capitalised and the rest lower-cased; spaces and '-' between words
// become separator (dropped when it is '\0'), '.' is kept and starts a word.
std::string camel_case_word(const std::string& s, char separator);
// As camel_case_word, but lower-casing inside a word stops at its first code
// point that is not upper-case: "NASA" gives "Nasa", "McDonald" stays.
std::string uri_camel_case_word(const std::string& s, char separator);

} // namespace dez::string

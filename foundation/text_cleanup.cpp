#include "foundation/text_cleanup.h"

#include "foundation/case_mapping.h"

#include <utf8.h>

#include <algorithm>
#include <iterator>

namespace dez::string {

// Initialised ahead of the default priority, like the normalisers.
__attribute__((init_priority(200))) const std::map<uint32_t, uint32_t> dez_input_converter = {
    {0x2018, 0x0027}, {0x201A, 0x002C}, {0x201B, 0x0027}, {0x201C, 0x0022}, {0x201D, 0x0022},
    {0x201E, 0x0022}, {0x201F, 0x0022}, {0x2032, 0x0027}, {0x2033, 0x0022}, {0x2035, 0x0027},
    {0x2036, 0x0022}, {0x204E, 0x002A}, {0x0141, 0x006C}, {0x0142, 0x006C},
};

std::string cleanup_normalized_entry(const std::string& entry, int& status) {
    std::string normalized = normalize_word(entry);
    std::size_t dash = normalized.find_first_of("-_");
    if (dash == std::string::npos) {
        if (normalized != entry)
            status = 2;
    } else if (dash != 0 && normalized[dash - 1] == ' ' && dash + 1 < normalized.size() &&
               normalized[dash + 1] == ' ') {
        clean_dashes(normalized);
        status = 1;
    }
    return normalized;
}

namespace {

template <typename Map>
std::string map_code_points(const std::string& s, const Map& replace) {
    std::string result;
    result.reserve(s.size());
    auto out = std::back_inserter(result);
    for (auto at = s.begin(); at != s.end();) {
        uint32_t c = utf8::next(at, s.end());
        out = utf8::append(replace(c), out);
    }
    return result;
}

} // namespace

std::string cleanup_input(const std::string& s) {
    return map_code_points(s, [](uint32_t c) {
        auto found = dez_input_converter.find(c);
        return found != dez_input_converter.end() ? found->second : c;
    });
}

std::string cleanup_input_data(const std::string& s) {
    return map_code_points(s, [](uint32_t c) -> uint32_t {
        return c == 0x2018 || c == 0x2019 ? 0x27 : c;
    });
}

namespace {

bool is_blank(char c) {
    return c == ' ' || (static_cast<unsigned char>(c) <= 0x0D);
}

std::string decode_all(const std::string& s, const std::set<char>& specials,
                       unicode::ErrorCode* record) {
    return unicode::detail::decode(s.data(), s.data() + s.size(), specials, record);
}

} // namespace

void clean_and_trim(std::string& s, const std::set<char>& specials,
                    unicode::ErrorCode* record) {
    s = decode_all(s, specials, record);
    auto first = std::find_if_not(s.begin(), s.end(), is_blank);
    s.erase(s.begin(), first);
    auto last = std::find_if_not(s.rbegin(), s.rend(), is_blank);
    s.erase(last.base(), s.end());
    clean_multi_spaces(s);
    s = decode_all(s, specials, record);
}

void clean_multi_spaces(std::string& s) {
    auto last = std::unique(s.begin(), s.end(), [](char a, char b) { return a == ' ' && b == ' '; });
    s.erase(last, s.end());
}

void clean_dashes(std::string& s) {
    std::size_t at = s.find(" - ");
    while (at != std::string::npos) {
        s.replace(at, 3, " ");
        at = s.find(" - ", at);
    }
}

void cleanup_crlf(std::string& s) {
    s.erase(std::remove_if(s.begin(), s.end(), [](char c) { return c == '\n' || c == '\r'; }),
            s.end());
}

} // namespace dez::string

#include "foundation/code_point_classes.h"

#include "foundation/unicode_code_points.h"

#include <unicode/uchar.h>

namespace dez::string {

namespace {

UChar32 icu(uint32_t c) {
    return static_cast<UChar32>(c);
}

} // namespace

bool is_whitespace(uint32_t c) {
    // ICU's answer for ASCII, without the call: tab to carriage return, the
    // four separators 0x1C-0x1F and space.
    if (c < 0x80)
        return c == 0x20 || (c >= 0x09 && c <= 0x0D) || (c >= 0x1C && c <= 0x1F);
    return c == 0xA0 || u_isWhitespace(icu(c));
}

bool withespace(uint32_t c) {
    return u_isspace(icu(c));
}

bool no_withespace(uint32_t c) {
    return !u_isspace(icu(c));
}

bool visual_withespace(uint32_t c) {
    return c == 0x20 || c == 0x09;
}

bool is_nummber(uint32_t c) {
    return u_isdigit(icu(c));
}

bool is_quote(uint32_t c) {
    return c == 0x201C || c == 0x201D || c == 0x2019 || c == 0x2018 || c == 0xBB;
}

bool closing_quoteations(uint32_t c) {
    return c == 0xBB || c == 0x201D;
}

bool inverted_sentence_begin(uint32_t c) {
    return c == 0xA1 || c == 0xBF;
}

bool sentence_begin(uint32_t c) {
    return inverted_sentence_begin(c) || u_isupper(icu(c)) || c == '-' || c == 0x2013 || c == '#';
}

const CharacterClassTable& character_class_table() {
    static const CharacterClassTable table = {
        {"lower", [](int32_t c) -> bool { return u_islower(c); }},
        {"upper", [](int32_t c) -> bool { return u_isupper(c); }},
        {"digit", [](int32_t c) -> bool { return u_isdigit(c); }},
        {"xdigit", [](int32_t c) -> bool { return u_isxdigit(c); }},
        {"alnum", [](int32_t c) -> bool { return u_isalnum(c); }},
        {"alpha", [](int32_t c) -> bool { return u_isalpha(c); }},
        {"punct", [](int32_t c) -> bool { return u_ispunct(c); }},
        {"title", [](int32_t c) -> bool { return u_istitle(c); }},
    };
    return table;
}

const std::set<char>& character_class_specials() {
    static const std::set<char> none;
    return none;
}

namespace {

// Built while the library loads, so that readers on any thread find them ready.
const bool tables_ready = (character_class_table(), character_class_specials(), true);

} // namespace

bool check_character_class(int32_t c, const std::string& cls) {
    if (cls.size() < 5 || cls.front() != ':' || cls.back() != ':')
        return false;
    if (cls[1] != '#') {
        const auto& table = character_class_table();
        auto found = table.find(std::string_view(cls).substr(1, cls.size() - 2));
        return found != table.end() && found->second(c);
    }
    const auto& specials = character_class_specials();
    const int64_t value = c;
    const char* at = cls.data() + 2;
    const char* end = cls.data() + cls.size() - 2;
    for (;;) {
        const int64_t first = unicode::next_parse(at, end, specials);
        if (at == end)
            return value == first;
        if (*at == '-') {
            ++at;
            if (at == end)
                return false;
            const int64_t last = unicode::next_parse(at, end, specials);
            if (first <= value && value <= last)
                return true;
            if (at == end)
                return false;
        } else if (value == first) {
            return true;
        }
    }
}

} // namespace dez::string

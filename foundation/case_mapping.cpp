#include "foundation/case_mapping.h"

#include "foundation/char_traits.h"
#include "foundation/string_utils.h"

#include <unicode/uchar.h>
#include <utf8.h>

#include <iterator>

namespace dez::string {

namespace {

// Decode, convert each code point and append the result. ASCII input takes
// the one-byte path.
template <std::size_t (*Convert)(uint32_t, uint32_t*)>
std::string convert_word(const std::string& s) {
    std::string result;
    result.reserve(s.size());
    uint32_t converted[detail::max_converted];
    for (auto at = s.begin(); at != s.end();) {
        uint32_t c = utf8::next(at, s.end());
        std::size_t count = Convert(c, converted);
        for (std::size_t i = 0; i < count; ++i) {
            if (c < 0x7F)
                result += static_cast<char>(converted[i]);
            else
                utf8::append(converted[i], std::back_inserter(result));
        }
    }
    return result;
}

std::size_t icu_lower(uint32_t c, uint32_t* out) {
    out[0] = static_cast<uint32_t>(u_tolower(static_cast<UChar32>(c)));
    return 1;
}

} // namespace

std::string to_lower(const std::string& s) {
    return convert_word<icu_lower>(s);
}

std::string lowercase_word(const std::string& s) {
    return convert_word<detail::to_lower_code_point>(s);
}

std::string normalize_word(const std::string& s) {
    return convert_word<detail::normalize_to_lower_code_point>(s);
}

std::string normalize_word_keep_case(const std::string& s) {
    return convert_word<detail::normalize_code_point>(s);
}

bool lower_initial_cap_word(const std::string& word, std::string& out) {
    if (word.empty())
        return false;
    auto at = word.begin();
    auto first = static_cast<UChar32>(utf8::next(at, word.end()));
    if (!u_isupper(first))
        return false;
    std::string result;
    result.reserve(word.size());
    utf8::append(static_cast<uint32_t>(u_tolower(first)), std::back_inserter(result));
    result.append(at, word.end());
    out = std::move(result);
    return true;
}

bool starts_with_lowercase(const std::string& s) {
    if (s.empty())
        return false;
    auto at = s.begin();
    return u_islower(static_cast<UChar32>(utf8::next(at, s.end())));
}

std::string make_uri(const std::string& s) {
    return uri_camel_case_word(normalize_word_keep_case(s), '\0');
}

} // namespace dez::string

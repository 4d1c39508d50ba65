#include "analysis/word_case.h"

#include <unicode/uchar.h>
#include <utf8.h>

namespace dez::trelix {

std::string upper_initial_word(const std::string& word) {
    if (word.empty())
        return word;
    auto at = word.begin();
    const auto first = static_cast<UChar32>(utf8::next(at, word.end()));
    std::string out;
    out.reserve(word.size() + 2);
    utf8::append(static_cast<char32_t>(u_toupper(first)), std::back_inserter(out));
    out.append(at, word.end());
    return out;
}

std::size_t code_points_up_to(const std::string& word, std::size_t limit) {
    std::size_t count = 0;
    for (auto at = word.begin(); at != word.end() && count < limit; ++count)
        utf8::next(at, word.end());
    return count;
}

} // namespace dez::trelix

#include "analysis/substring_data.h"

#include "analysis/charmap.h"
#include "foundation/unicode_normalizer.h"

namespace dez::trelix {

icu::UnicodeString get_substring_data(const icu::UnicodeString& text, uint32_t start,
                                      uint32_t length) {
    icu::UnicodeString part(text, static_cast<int32_t>(start), static_cast<int32_t>(length));
    if (dez::string::is_decomposed(part))
        part = dez::string::compose(part);
    const int32_t size = part.length();
    for (int32_t i = 0; i < size; ++i) {
        const char16_t unit = part.charAt(i);
        const char16_t mapped = map_char(unit);
        if (mapped != unit)
            part.setCharAt(i, mapped);
    }
    return part;
}

bool needs_normalisation(const icu::UnicodeString& text, uint32_t start, uint32_t length) {
    const int32_t end = static_cast<int32_t>(start + length);
    for (int32_t i = static_cast<int32_t>(start); i < end && i < text.length(); ++i) {
        const char16_t unit = text.charAt(i);
        if (dez::string::is_decomposed(unit) || map_char(unit) != unit)
            return true;
    }
    return false;
}

} // namespace dez::trelix

#pragma once

#include <map>

namespace dez::trelix {

// UTF-16 units a token literal writes plainly: typographic single quotes
// become U+0027 and the en dash U+002D. Built while the library loads, only
// read afterwards.
using CharMap = std::map<char16_t, char16_t>;
extern const CharMap charmap;
extern const CharMap::const_iterator charmap_end;

// The unit's replacement, or the unit itself.
inline char16_t map_char(char16_t unit) {
    // Every key lies in U+2013..U+2019; most units are outside.
    if (unit < 0x2013 || unit > 0x2019)
        return unit;
    auto found = charmap.find(unit);
    return found == charmap_end ? unit : found->second;
}

} // namespace dez::trelix

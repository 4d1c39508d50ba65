#include "analysis/leading_number.h"

#include <cctype>
#include <charconv>

namespace dez::trelix {

namespace {

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

const char* skip_digits(const char* p, const char* end) {
    while (p != end && is_digit(*p))
        ++p;
    return p;
}

} // namespace

double read_leading_number(const char* begin, const char* end, bool skip_space) {
    const char* p = begin;
    if (skip_space)
        while (p != end && std::isspace(static_cast<unsigned char>(*p)))
            ++p;
    bool negative = false;
    if (p != end && (*p == '+' || *p == '-'))
        negative = *p++ == '-';
    // Only plain decimal text: no "inf", "nan" or hexadecimal forms.
    const char* digits = p;
    const char* q = skip_digits(p, end);
    bool any = q != p;
    if (q != end && *q == '.') {
        const char* fraction = skip_digits(q + 1, end);
        any = any || fraction != q + 1;
        q = fraction;
    }
    if (!any)
        return 0.0;
    if (q != end && (*q == 'e' || *q == 'E')) {
        const char* e = q + 1;
        if (e != end && (*e == '+' || *e == '-'))
            ++e;
        const char* exponent = skip_digits(e, end);
        if (exponent != e)
            q = exponent;
    }
    double value = 0.0;
    const auto parsed = std::from_chars(digits, q, value, std::chars_format::general);
    // Out of range: from_chars leaves the value; the nearest finite limit is
    // not wanted either, so an overflowing text counts as no number.
    if (parsed.ec != std::errc())
        return 0.0;
    return negative ? -value : value;
}

} // namespace dez::trelix

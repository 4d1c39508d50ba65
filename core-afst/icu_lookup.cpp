#include "core-afst/icu_lookup.h"

#include <unicode/uchar.h>

#include <utf8.h>

namespace dez::afst {

ICULookup::ICULookup(std::shared_ptr<ILookupConverter>) {}

ICULookup::~ICULookup() = default;

int ICULookup::type() const {
    return lookup_icu;
}

std::vector<std::string> ICULookup::up(const std::string& word) {
    if (word.empty())
        return {};
    bool first_upper = false;
    bool proper = false;
    bool digit = false;
    auto position = word.begin();
    for (int index = 0; position != word.end(); ++index) {
        const auto c = static_cast<UChar32>(utf8::next(position, word.end()));
        switch (u_charType(c)) {
        case U_DASH_PUNCTUATION:
        case U_CONNECTOR_PUNCTUATION:
        case U_OTHER_PUNCTUATION:
            if (word[0] == '#')
                return {"\\" + word + "+Punct"};
            return {word + "+Punct"};
        case U_START_PUNCTUATION:
        case U_INITIAL_PUNCTUATION:
            return {word + "+Punct-Open"};
        case U_END_PUNCTUATION:
        case U_FINAL_PUNCTUATION:
            return {word + "+Punct-Close"};
        case U_CURRENCY_SYMBOL:
            return {word + "+Nn-Sym+currency"};
        case U_UPPERCASE_LETTER:
            if (index == 0)
                first_upper = true;
            break;
        case U_LOWERCASE_LETTER:
        case U_OTHER_LETTER:
            if (index > 0 && first_upper)
                proper = true;
            break;
        case U_DECIMAL_DIGIT_NUMBER:
            digit = true;
            proper = true;
            break;
        default:
            proper = false;
            break;
        }
    }
    if (digit)
        return {word + "+Num-Std"};
    if (proper)
        return {word + "+Prop-Std"};
    return {};
}

void ICULookup::print_results(const std::string& word) {
    print_result_lines(word, "  -g- ");
}

} // namespace dez::afst

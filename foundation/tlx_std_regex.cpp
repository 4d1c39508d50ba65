#include "foundation/tlx_std_regex.h"

#include "foundation/convert_range.h"

namespace dez::tlx {

std::regex tlx_regex(const std::string& pattern) {
    return std::regex(convert_range(pattern), std::regex::ECMAScript);
}

std::regex tlx_regex_case_insenitive(const std::string& pattern) {
    return std::regex(convert_range(pattern), std::regex::ECMAScript | std::regex::icase);
}

} // namespace dez::tlx

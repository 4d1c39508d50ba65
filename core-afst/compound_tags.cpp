#include "core-afst/compound_tags.h"

#include "foundation/string_utils.h"

#include <string_view>

namespace dez::afst {

namespace {

bool tags_begin_with(const std::string& analysis, std::string_view tag) {
    const auto plus = analysis.find('+');
    return plus != std::string::npos && analysis.compare(plus, tag.size(), tag) == 0;
}

} // namespace

std::string fst_label_stem(const std::string& analysis) {
    return analysis.substr(0, analysis.find('+'));
}

bool has_invalid_tags(const std::string& analysis) {
    return dez::string::ends_with(analysis, "+gen") || dez::string::ends_with(analysis, "+def");
}

bool has_prefix_tag(const std::string& analysis) {
    return tags_begin_with(analysis, "+Prefix");
}

bool has_affix_tag(const std::string& analysis) {
    return tags_begin_with(analysis, "+Affix");
}

std::size_t has_properties(const std::string& analysis) {
    const auto first = analysis.find('+');
    return first == std::string::npos ? std::string::npos : analysis.find('+', first + 1);
}

} // namespace dez::afst

#include "core-afst/compound_tags.h"

#include <string_view>

namespace dez::afst {

namespace {

bool ends_with(const std::string& text, std::string_view tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

bool tags_begin_with(const std::string& analysis, std::string_view tag) {
    const auto plus = analysis.find('+');
    return plus != std::string::npos && analysis.compare(plus, tag.size(), tag) == 0;
}

} // namespace

std::string fst_label_stem(const std::string& analysis) {
    return analysis.substr(0, analysis.find('+'));
}

bool has_invalid_tags(const std::string& analysis) {
    return ends_with(analysis, "+gen") || ends_with(analysis, "+def");
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

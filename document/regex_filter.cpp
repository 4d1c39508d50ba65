#include "document/regex_filter.h"

#include "document/concept.h"
#include "foundation/convert_range.h"

namespace dez::trelix {

namespace {

std::string without_slashes(const std::string& text) {
    if (text.size() >= 2 && text.front() == '/' && text.back() == '/')
        return text.substr(1, text.size() - 2);
    return text;
}

} // namespace

RegexFilter::RegexFilter(const std::string& text)
    : expression(without_slashes(text)), regex(dez::tlx::convert_range(expression), false) {}

bool RegexFilter::check(const Annotation* annotation) const {
    return annotation && annotation->type == annotation_concept &&
           regex.regex_match(static_cast<const Concept*>(annotation)->uri);
}

bool RegexFilter::operator()(const Annotation* annotation) const {
    return check(annotation) &&
           !static_cast<const Concept*>(annotation)->flags.test(Concept::deleted);
}

bool RegexFilter::operator()(const std::string& text) const {
    return regex.regex_match(text);
}

} // namespace dez::trelix

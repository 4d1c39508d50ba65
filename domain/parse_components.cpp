#include "domain/parse_components.h"

#include "domain/pipeline_error.h"

namespace dez::pipeline {

namespace {

Component make_component(const std::string& original, const std::string& options) {
    Component c;
    c.original = original;
    c.options = options.empty() ? "{}" : options;
    return c;
}

} // namespace

std::vector<Component> parse_components(const std::string& text) {
    std::vector<Component> components;
    int depth = 0;
    std::string original;
    std::string options;
    size_t start = 0;       // first byte of the current component
    size_t group_start = 0; // first byte after the last "(" opened at depth 0

    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '(') {
            if (depth == 0) {
                original = text.substr(start, i - start);
                group_start = i + 1;
            }
            ++depth;
        } else if (c == ')') {
            if (depth == 0)
                throw pipeline_error("Unbalanced ')' in pipeline.",
                                     make_component(text.substr(start, i - start), options));
            if (--depth == 0)
                options = text.substr(group_start, i - group_start);
        } else if (depth != 0) {
            continue;
        } else if (c == ',') {
            components.push_back(make_component(original, options));
            original.clear();
            options.clear();
            start = i + 1;
        } else {
            original += c;
        }
    }
    if (depth != 0)
        throw pipeline_error("Unclosed '(' in pipeline.", make_component(original, options));
    if (!original.empty())
        components.push_back(make_component(original, options));
    return components;
}

} // namespace dez::pipeline

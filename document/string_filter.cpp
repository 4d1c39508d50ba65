#include "document/string_filter.h"

#include "document/literal_filter.h"
#include "document/regex_filter.h"

namespace dez::trelix {

std::function<bool(const std::string&)> create_string_filter(const std::string& text) {
    if (text.size() >= 2 && text.front() == '/' && text.back() == '/') {
        RegexFilter filter(text);
        // Called through the base, so a string predicate is the filter's own test.
        return [filter](const std::string& candidate) {
            return static_cast<const BaseFilter&>(filter)(candidate);
        };
    }
    return LiteralFilter(text);
}

} // namespace dez::trelix

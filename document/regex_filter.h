#pragma once

#include <string>

#include "document/base_filter.h"
#include "foundation/regex.h"

namespace dez::trelix {

// Selects concepts whose uri, or texts that, the expression matches whole.
// The expression is in rule-language syntax; enclosing slashes are dropped.
// A bad expression makes construction fail with the error of the conversion
// or the compiler.
class RegexFilter : public BaseFilter {
public:
    explicit RegexFilter(const std::string& expression);

    // A concept whose uri matches, deleted or not.
    bool check(const Annotation* annotation) const override;
    // A concept that is not deleted and whose uri matches.
    bool operator()(const Annotation* annotation) const override;
    bool operator()(const std::string& text) const override;

    std::string expression;
    dez::Regex regex;
};

} // namespace dez::trelix

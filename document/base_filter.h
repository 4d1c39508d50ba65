#pragma once

#include <string>

namespace dez::trelix {

class Annotation;

// Whether an annotation or a text is selected.
class BaseFilter {
public:
    // Selection regardless of the concept's deleted flag.
    virtual bool check(const Annotation* annotation) const = 0;
    virtual bool operator()(const Annotation* annotation) const = 0;
    virtual bool operator()(const std::string& text) const = 0;
    virtual ~BaseFilter() = default;
};

} // namespace dez::trelix

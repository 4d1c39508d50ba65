#pragma once

#include <string>

namespace dez::trelix {

// A string predicate: equality with the literal, byte for byte.
class LiteralFilter {
public:
    explicit LiteralFilter(const std::string& literal) : literal(literal) {}

    bool operator()(const std::string& text) const { return text == literal; }

    std::string literal;
};

} // namespace dez::trelix

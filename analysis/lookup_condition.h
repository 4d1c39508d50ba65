#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace dez::trelix {

class Token;

// The token's literal.
struct LookupConditionInputLiteral {
    const std::string& operator()(const Token* token) const;
};

// The stem of the token's first reading; the literal without readings.
struct LookupConditionInputStem {
    const std::string& operator()(const Token* token) const;
};

// Decides whether the second lexicon pass looks a token up again, on which
// text, and whether what it finds replaces the token's readings and
// properties (overwrite) or joins them (merge).
class LookupConditionInterface {
public:
    enum Action : int32_t { overwrite = 0, merge = 1 };

    LookupConditionInterface();

    virtual bool is_valid(const Token* token) const = 0;
    // With overwrite the token loses its properties and readings.
    virtual void action(Token* token) const;
    // The text to look up; a reference into the token.
    virtual const std::string& text(const Token* token) const;
    // "literal" or "stem"; anything else fails with dez::Exception.
    virtual void set_input(const std::string& input);
    // "overwrite" or "merge"; anything else fails with dez::Exception.
    virtual void set_action(const std::string& action) const;
    virtual ~LookupConditionInterface();

    mutable Action action_mode = overwrite;
    std::function<const std::string&(const Token*)> input_accessor;
};

} // namespace dez::trelix

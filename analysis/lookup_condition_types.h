#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "analysis/lookup_condition.h"

namespace dez {
class Regex;
}

namespace dez::trelix {

// A reading, or a direct component of one, lies in the POS class.
class PosIdLookup : public LookupConditionInterface {
public:
    explicit PosIdLookup(const uint32_t& id) : pos_id(id) {}
    bool is_valid(const Token* token) const override;
    uint32_t pos_id;
};

// A reading, or a direct component of one, has a POS starting with prefix.
class PosStartWithLookup : public LookupConditionInterface {
public:
    explicit PosStartWithLookup(const std::string& prefix) : prefix(prefix) {}
    bool is_valid(const Token* token) const override;
    std::string prefix;
};

// "a,!b": the token has a and lacks b (its properties or its readings' tags).
class PropertyLookup : public LookupConditionInterface {
public:
    explicit PropertyLookup(const std::string& names);
    bool is_valid(const Token* token) const override;
    // (name, negated)
    std::vector<std::pair<std::string, bool>> required_properties;
};

// The expression matches the whole literal (case-sensitive).
class RegexLookup : public LookupConditionInterface {
public:
    explicit RegexLookup(const std::string& pattern);
    bool is_valid(const Token* token) const override;
    std::shared_ptr<dez::Regex> regex;
};

// Every token.
class AnyLookup : public LookupConditionInterface {
public:
    bool is_valid(const Token*) const override { return true; }
};

} // namespace dez::trelix

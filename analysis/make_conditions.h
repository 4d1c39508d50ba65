#pragma once

#include <memory>
#include <vector>

#include <nlohmann/json_fwd.hpp>

namespace dez::trelix {

class LookupConditionInterface;
class Token;

using LookupConditions = std::vector<std::shared_ptr<LookupConditionInterface>>;

// The second-pass lookup conditions of a language from the "conditions" of
// its whole configuration, in configuration order. Without the key: one
// condition, property "nf", overwrite, literal input; null or an empty array
// give none.
LookupConditions make_conditions(const nlohmann::json& config);

// One condition from its entry {"type", "value", "action"?, "input"?}; fails
// with dez::Exception for a missing type or value and unknown choices.
std::shared_ptr<LookupConditionInterface> condition_factory(const nlohmann::json& entry);

// The first condition that holds for the token, or null.
const LookupConditionInterface* get_condition(const LookupConditions& conditions,
                                              const Token* token);

} // namespace dez::trelix

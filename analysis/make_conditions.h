#pragma once

#include <memory>
#include <vector>

#include <nlohmann/json_fwd.hpp>

namespace dez::trelix {

class LookupConditionInterface;

// The second-pass lookup conditions of a language, from the "conditions" of
// its whole configuration, in configuration order. A stand-in answers none
// until the lookup-condition work builds them.
std::vector<std::shared_ptr<LookupConditionInterface>>
make_conditions(const nlohmann::json& config);

} // namespace dez::trelix

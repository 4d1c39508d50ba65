#include "analysis/make_conditions.h"

#include <nlohmann/json.hpp>

namespace dez::trelix {

// Stand-in: no conditions, so a second pass would touch no token. The
// lookup-condition work builds them from "conditions" (default: property
// "nf", overwrite, literal input).
std::vector<std::shared_ptr<LookupConditionInterface>>
make_conditions(const nlohmann::json& /*config*/) {
    return {};
}

} // namespace dez::trelix

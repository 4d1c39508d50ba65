#include "analysis/make_conditions.h"

#include <nlohmann/json.hpp>

#include "analysis/lookup_condition_types.h"
#include "foundation/exception.h"
#include "foundation/pos_table.h"

namespace dez::trelix {

LookupConditions make_conditions(const nlohmann::json& config) {
    LookupConditions conditions;
    if (!config.is_object() || !config.contains("conditions")) {
        conditions.push_back(std::make_shared<PropertyLookup>("nf"));
        return conditions;
    }
    const nlohmann::json& value = config.at("conditions");
    if (value.is_array() || value.is_object()) {
        for (const nlohmann::json& entry : value)
            conditions.push_back(condition_factory(entry));
    } else if (!value.is_null()) {
        conditions.push_back(condition_factory(value));
    }
    return conditions;
}

std::shared_ptr<LookupConditionInterface> condition_factory(const nlohmann::json& entry) {
    if (!entry.is_object() || !entry.contains("type"))
        throw dez::Exception("Invalid language configuration in conditions sections. type missing");
    const nlohmann::json& type = entry.at("type");
    const bool known = type == "pos" || type == "property" || type == "regex";
    if (!known)
        throw dez::Exception(
            "Invalid language configuration in conditions sections. type not supported");
    if (!entry.contains("value"))
        throw dez::Exception(
            "Invalid language configuration in conditions sections. value missing");
    const std::string value = entry.at("value").get<std::string>();

    std::shared_ptr<LookupConditionInterface> condition;
    if (type == "pos") {
        const uint32_t id = dez::language::pos_table::get_root_pos_id(value);
        if (id != 0)
            condition = std::make_shared<PosIdLookup>(id);
        else
            condition = std::make_shared<PosStartWithLookup>(value);
    } else if (type == "property") {
        condition = std::make_shared<PropertyLookup>(value);
    } else {
        condition = std::make_shared<RegexLookup>(value);
    }
    if (entry.contains("action"))
        condition->set_action(entry.at("action").get<std::string>());
    if (entry.contains("input"))
        condition->set_input(entry.at("input").get<std::string>());
    return condition;
}

const LookupConditionInterface* get_condition(const LookupConditions& conditions,
                                              const Token* token) {
    for (const auto& condition : conditions)
        if (condition->is_valid(token))
            return condition.get();
    return nullptr;
}

} // namespace dez::trelix

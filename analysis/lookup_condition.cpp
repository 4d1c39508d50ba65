#include "analysis/lookup_condition.h"

#include "document/token.h"
#include "foundation/exception.h"

namespace dez::trelix {

const std::string& LookupConditionInputLiteral::operator()(const Token* token) const {
    return token->literal;
}

const std::string& LookupConditionInputStem::operator()(const Token* token) const {
    return token->readings.empty() ? token->literal : token->readings.front().stem;
}

LookupConditionInterface::LookupConditionInterface()
    : input_accessor(LookupConditionInputLiteral()) {}

LookupConditionInterface::~LookupConditionInterface() = default;

void LookupConditionInterface::action(Token* token) const {
    if (action_mode != overwrite)
        return;
    token->properties.clear();
    token->readings.clear();
}

const std::string& LookupConditionInterface::text(const Token* token) const {
    return input_accessor(token);
}

void LookupConditionInterface::set_input(const std::string& input) {
    if (input == "literal")
        input_accessor = LookupConditionInputLiteral();
    else if (input == "stem")
        input_accessor = LookupConditionInputStem();
    else
        throw dez::Exception("Invalid input configuration in conditions sections. unknown "
                             "input_type, choices [literal,stem]");
}

void LookupConditionInterface::set_action(const std::string& action) const {
    if (action == "overwrite")
        action_mode = overwrite;
    else if (action == "merge")
        action_mode = merge;
    else
        throw dez::Exception("Invalid language configuration in conditions sections. unknown "
                             "action, choices [overwrite,merge]");
}

} // namespace dez::trelix

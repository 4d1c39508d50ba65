#include "analysis/lookup_condition_types.h"

#include "analysis/token_helpers.h"
#include "document/token.h"
#include "foundation/regex.h"
#include "foundation/string_utils.h"

namespace dez::trelix {

bool PosIdLookup::is_valid(const Token* token) const {
    return has_pos_components(token, pos_id);
}

bool PosStartWithLookup::is_valid(const Token* token) const {
    return has_pos_components(token, prefix);
}

PropertyLookup::PropertyLookup(const std::string& names) {
    // The separator-list form keeps every field, empty ones too (an empty
    // text is one empty name); the single-byte form would join runs of commas.
    std::vector<std::string> fields;
    dez::string::split_vector(fields, names, ",", false);
    for (std::string& name : fields) {
        if (!name.empty() && name.front() == '!')
            required_properties.emplace_back(name.substr(1), true);
        else
            required_properties.emplace_back(std::move(name), false);
    }
}

bool PropertyLookup::is_valid(const Token* token) const {
    for (const auto& [name, negated] : required_properties)
        if (has_property(*token, name) == negated)
            return false;
    return true;
}

RegexLookup::RegexLookup(const std::string& pattern)
    : regex(std::make_shared<dez::Regex>(pattern, false)) {}

bool RegexLookup::is_valid(const Token* token) const {
    return regex->regex_match(token->literal);
}

} // namespace dez::trelix

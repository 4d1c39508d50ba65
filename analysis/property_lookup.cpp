#include "analysis/property_lookup.h"

#include <unicode/uchar.h>
#include <utf8.h>

#include "analysis/lookup_chain.h"
#include "analysis/reading_labels.h"
#include "document/token.h"
#include "document/token_flags.h"

namespace dez::trelix {

namespace {

// Replaces the readings by the results; false without results.
bool settle(Token* token, const std::vector<std::string>& results) {
    if (results.empty())
        return false;
    token->properties.erase("nf");
    assign_afst_results_token_obj(token, results);
    return true;
}

// "Dr." and the like: a proper name, noun or number by the first character.
bool abbreviation_reading(Token* token) {
    const std::string& literal = token->literal;
    if (literal.empty() || literal.back() != '.')
        return false;
    auto at = literal.begin();
    const auto first = static_cast<UChar32>(utf8::next(at, literal.end()));
    const char* pos = u_isupper(first)   ? "+Prop-Std"
                      : u_islower(first) ? "+Nn-Std"
                      : u_isdigit(first) ? "+Num-Std"
                                         : nullptr;
    if (!pos)
        return false;
    token->readings.clear();
    import_result_in_token_obj(token, literal + pos, 0.1);
    return true;
}

} // namespace

bool check_property_lookup(Token* token, const NamedLookups& named) {
    if (token->token_flags & token_flags::known_abbreviation) {
        token->properties.insert("abbrev");
        auto found = named.find("abbrev");
        if (found != named.end() &&
            settle(token, core::lookup_chain(found->second, token->literal)))
            return true;
        if (abbreviation_reading(token))
            return true;
    } else if (token->token_flags & token_flags::apostrophe_join) {
        auto found = named.find("apostrophe");
        if (found != named.end() &&
            settle(token, core::lookup_chain_no_cache(found->second, token->literal)))
            return true;
    }
    if (token->token_flags & token_flags::property_lookup) {
        for (const std::string& property : token->properties) {
            auto found = named.find(property);
            if (found == named.end())
                continue;
            std::vector<std::string> results = core::lookup_chain(found->second, token->literal);
            if (!results.empty()) {
                assign_afst_results_token_obj(token, results);
                return true;
            }
        }
        return false;
    }
    return (token->token_flags & token_flags::rule_reading) != 0;
}

} // namespace dez::trelix

#pragma once

#include <cstdint>

#include "analysis/token_map.h"

namespace dez::trelix {

class Blackboard;
class Sentence;
class Token;

// Rule status of a web address, whichever iterator found it.
constexpr int32_t url_status = 621;

// The language's token map; the defaults when the document has no language
// data.
const TokenMap& token_map_of(const Blackboard& blackboard);

// The flags a status sets on the token (and the sentence) before its tags
// apply: 2000-2999 property_lookup; 500-509 and 3000-4000 rule_reading; 512
// markup; 513 apostrophe_join and the sentence's has_apostrophe.
void set_property_lookup_flag(Sentence* sentence, Token* token, unsigned long status);

// What a new token gets from the rule status of the boundary that closed it:
// measurement splits for the measure statuses, the "Url" reading for 621, the
// token map's readings and properties otherwise. Status 0 gives nothing.
// Tokens made by a measurement split take their offsets from the document
// text even when the literal was normalised; `source` is the token's first
// byte in that text, by default read from the document.
void apply_rule_status(Blackboard& blackboard, Sentence* sentence, Token* token, int32_t status,
                       const char* source = nullptr);

} // namespace dez::trelix

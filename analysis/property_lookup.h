#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace dez::trelix {

class Token;

namespace core {
class ILookup;
}

using NamedLookups = std::map<std::string, std::vector<std::shared_ptr<core::ILookup>>>;

// Readings from the named lookups for known abbreviations, apostrophe joins
// and tokens whose properties name lookups; true when the token's readings
// are settled (also when the tokenizer rules fixed them).
bool check_property_lookup(Token* token, const NamedLookups& named);

} // namespace dez::trelix

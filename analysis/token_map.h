#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace dez::trelix {

// Tokenizer rule status to the tags a token of that status gets: "+X" adds
// the reading X, "-X" removes it, anything else is a token property. Tags of
// one status apply in insertion order.
using TokenMap = std::multimap<int32_t, std::string>;

// The defaults every language starts from; built once, never changed.
const TokenMap& init_token_map();

} // namespace dez::trelix

#pragma once

#include <map>
#include <set>
#include <string>

namespace dez::language {

// Upper-case two-letter codes (and "ZH-HANS", "ZH-HANT") to lower-case English
// names. Both accessors answer the same table.
const std::map<std::string, std::string>& get_language_map();
const std::map<std::string, std::string>& language_map();

// Every code of the code table, in byte order.
std::set<std::string> get_language_codes();

// The English name of a two-byte code (any case), or "not-supported".
// Other text: the text unchanged when it names an existing regular file, else
// lower-cased (ASCII); with check set, "not-supported" unless that is a known name.
std::string longname(const std::string& language, bool check);

// The code of a lower-case English name (exact match), or "not-supported".
const std::string& get_code(const std::string& name);

// Whether name is one of the English names (not a code).
bool is_known_language(const std::string& name);

// "s" for the languages that form their genitive with it, else the empty string.
const std::string& get_genitive_form(const std::string& name);

} // namespace dez::language

#pragma once

#include <string>

// Keys and key patterns of the FILES container, matched in our own code
// rather than by SQLite's LIKE: LIKE stops at a NUL byte, reads every
// malformed UTF-8 sequence as U+FFFD (so "\xE2" matches "\xFF") and refuses
// patterns longer than 50,000 bytes.
namespace dez::afst::serialization {

// A key holding '%' names rows by pattern; any other key names one row, byte
// for byte. Pattern callers always write '%' ("%" + source + "%rule:%",
// "rule_" + cluster + "_%rule:%"); plain names such as "_BUSY_" or
// "entities_" + type are meant exactly.
bool is_key_pattern(const std::string& key);

// True when the whole of `key` matches `pattern` with the rules of SQL LIKE:
// '%' matches any run of characters, '_' any one character, ASCII letters
// match without regard to case, every other byte only itself. A character
// is a well-formed UTF-8 sequence, or else a single byte, so NUL bytes and
// malformed sequences take part like any other. No length limit; at worst
// pattern length times key length steps.
bool key_matches(const std::string& pattern, const std::string& key);

} // namespace dez::afst::serialization

#pragma once

#include <ostream>
#include <string>
#include <utility>
#include <vector>

// Attribute text: key "=" value pairs joined by ";", with no escapes. It is
// how transducer rows of the FILES container store their attributes.

namespace std {

// key "=" value. Throws dez::Exception for a key holding "=" or ";" or a
// value holding ";": read back, such a pair would come out different.
std::ostream& operator<<(std::ostream& os, const std::pair<std::string, std::string>& pair);

// The pairs joined by ";"; nothing for an empty list. Throws dez::Exception,
// before writing anything, when a pair could not be read back unchanged.
std::ostream& operator<<(std::ostream& os,
                         const std::vector<std::pair<std::string, std::string>>& list);

} // namespace std

namespace dez {

// The pairs of an attribute text in text order, split at the first "=" of
// each item; items without "=" are skipped, duplicate keys kept.
std::vector<std::pair<std::string, std::string>> string2attributes(const std::string& text);

// The same over the first `length` bytes of `text`; a length of 0 gives the
// empty list, a null text with another length a std::logic_error.
std::vector<std::pair<std::string, std::string>> string2attributes(const char* text, int length);

// The value of the first pair with exactly this key, else a process-wide
// empty string.
const std::string& get_attribute(const std::vector<std::pair<std::string, std::string>>& list,
                                 const std::string& key);

} // namespace dez

#pragma once

#include <string>
#include <unordered_map>

namespace dez::language::pos_table {

// A part-of-speech id holds its class bit in the high 16 bits and the tag's
// index within the class in the low 16 bits; id & 0xFFFF0000 is the class.

// The id of a tag name (exact, case-sensitive), or 0.
unsigned int id(const std::string& tag);

// Whether the name is a tag. A null pointer is a std::logic_error.
bool has(const char* tag);

// The name of the tag with that id, or the empty string.
std::string str(const unsigned int& id);

// The class bit of a class root name ("Adj" ... "V", "Others"), or 0.
unsigned int get_root_pos_id(const std::string& root);

// Every tag name with its id, for callers that enumerate them.
const std::unordered_map<std::string, unsigned int>& data();

} // namespace dez::language::pos_table

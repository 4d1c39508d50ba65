#pragma once

#include <cstddef>
#include <string>

namespace dez::afst {

// Reading the tags of a component's analysis ("lemma+Tag+Tag").

// The text before the first '+' (the whole text without one).
std::string fst_label_stem(const std::string& analysis);
// Ends with "+gen" or "+def": such a component never starts a compound.
bool has_invalid_tags(const std::string& analysis);
// The text from the first '+' begins with "+Prefix" (false without a '+').
bool has_prefix_tag(const std::string& analysis);
// The text from the first '+' begins with "+Affix" (false without a '+').
bool has_affix_tag(const std::string& analysis);
// The position of the second '+', or npos when there are fewer than two.
std::size_t has_properties(const std::string& analysis);

} // namespace dez::afst

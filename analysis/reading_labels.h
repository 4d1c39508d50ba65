#pragma once

#include <string>
#include <vector>

namespace dez::trelix {

class LookupConditionInterface;
class Token;

// Appends the readings of one lexicon output label to the token: "stem+POS"
// with optional "+tag"s, a leading '\' quoting a label that starts with '#',
// or a compound label "#[+p1+p2#][$stem[+POS]#]word+POS#word+POS..." that makes one
// reading with the parts as components. Bad labels are reported on standard
// error; what can be read is kept.
void import_result_in_token_obj(Token* token, const std::string& label, double weight);

// Replaces the token's readings by those of the labels, each weighing
// 1 / (number of labels); an empty list changes nothing.
void assign_afst_results_token_obj(Token* token, const std::vector<std::string>& labels);
// The same, keeping the readings the token has.
void append_afst_results_token_obj(Token* token, const std::vector<std::string>& labels);
// With labels, applies the condition's action and the shape properties
// first.
void append_afst_results_token_obj(Token* token, const std::vector<std::string>& labels,
                                   const LookupConditionInterface* condition);

// Appends the labels of `from` that `into` lacks (all of them, duplicates
// included, into an empty list).
void merge_lookup_results(std::vector<std::string>& into, const std::vector<std::string>& from);

} // namespace dez::trelix

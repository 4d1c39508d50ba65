#include "core-afst/lookup_interface.h"

#include <iostream>

namespace dez::afst {

const std::vector<std::string>& lookup_mode_names() {
    static const std::vector<std::string> names{
        "not_set", "plain",   "compound", "compound_v2", "compound_v3", "compound_numbers",
        "cleaner", "guesser", "endings",  "tag",         "icu"};
    return names;
}

void LookupInterface::print_results(const std::string& word) {
    std::cout << "up [" << word << "]" << std::endl;
    print_result_lines(word, "  -- ");
}

void LookupInterface::print_result_lines(const std::string& word, const char* prefix) {
    for (const auto& result : up(word))
        std::cout << prefix << result << std::endl;
}

LookupInterface::~LookupInterface() = default;

} // namespace dez::afst

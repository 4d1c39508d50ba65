#pragma once

#include <cstddef>
#include <string>

namespace dez::trelix {

// The word with its first code point upper-cased ("école" gives "École").
std::string upper_initial_word(const std::string& word);
// The number of code points of the word, counting no further than `limit`.
std::size_t code_points_up_to(const std::string& word, std::size_t limit);

} // namespace dez::trelix

#pragma once

#include <sstream>

namespace dez::trelix {
class Concept;
}

namespace dez::trelix::v2 {

// The text a concept covers: each token's literal, one blank between two
// tokens with a gap between them, nothing between adjacent ones.
void get_token_literal_stream(const Concept& concept_, std::stringstream& out);
// The same with the stem of each token's first reading; tokens without
// readings are passed over.
void get_token_stem_stream(const Concept& concept_, std::stringstream& out);

} // namespace dez::trelix::v2

#pragma once

#include <cstddef>

namespace dez::trelix {
class Analyzer;
class Blackboard;
} // namespace dez::trelix

namespace dez::api {

// The analyzer's `generate(document, text, length)`: analyse one document.
void analyze_text(dez::trelix::Analyzer& analyzer, dez::trelix::Blackboard& document,
                  const char* text, std::size_t length);

// The analyzer's `generate(document)`: process again what the document holds.
void analyze_again(dez::trelix::Analyzer& analyzer, dez::trelix::Blackboard& document);

} // namespace dez::api

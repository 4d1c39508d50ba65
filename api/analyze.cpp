#include "api/analyze.h"

#include "analysis/analyzer.h"
#include "document/blackboard.h"

namespace dez::api {

void analyze_text(dez::trelix::Analyzer& analyzer, dez::trelix::Blackboard& document,
                  const char* text, std::size_t length) {
    analyzer.generate(document, text, length);
}

void analyze_again(dez::trelix::Analyzer& analyzer, dez::trelix::Blackboard& document) {
    analyzer.generate(document);
}

} // namespace dez::api

#include "analysis/analyzer.h"
#include "foundation/exception.h"

namespace dez::trelix {

// Stand-in until the ICU tokenization work lands.
void Analyzer::text_to_annotations_icu(Blackboard&, const char*, size_t) {
    throw dez::Exception("ICU sentence splitting not built yet");
}

} // namespace dez::trelix

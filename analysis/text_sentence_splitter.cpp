#include "analysis/analyzer.h"
#include "foundation/exception.h"

namespace dez::trelix {

// Stand-in until the hand-written sentence splitter lands.
void Analyzer::text_to_annotations_v2(Blackboard&, const char*, size_t) {
    throw dez::Exception("text sentence splitter not built yet");
}

} // namespace dez::trelix

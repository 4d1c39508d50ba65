#pragma once

#include <string>
#include <utility>
#include <vector>

#include "document/attributes.h"

namespace dez::trelix {

// What a compiled domain says about every concept of one uri: attributes to
// add, then further concepts (or rule functions) over the same span.
struct ConceptDefinition {
    Attributes attributes;
    std::vector<std::pair<std::string, Attributes>> follow_ups;
};

} // namespace dez::trelix

#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "annotation.h"

namespace qvr::common {

class Concept : public Annotation {
public:
    Concept(uint32_t from, uint32_t to, std::string name)
        : Annotation(concept_type, from, to), uri(std::move(name)) {}

    std::string uri;
    // Not filled by the reader, not read by the printers.
    std::string value;
    // (name, value), one pair per value, in result order.
    std::vector<std::pair<std::string, std::string>> attributes;
};

} // namespace qvr::common

#pragma once

#include <cstdint>

#include "raw_ptr_list.h"

namespace qvr::common {

// Annotation kinds of a parsed result, as the result JSON numbers them.
constexpr uint32_t sentence_type = 1;
constexpr uint32_t concept_type = 2;
constexpr uint32_t token_type = 3;

// One annotation of a parsed result. Offsets are as the result JSON gave
// them (bytes or code points, as the writer was asked).
class Annotation : public BaseHook<Annotation> {
public:
    Annotation(uint32_t kind, uint32_t from, uint32_t to) : type(kind), begin(from), end(to) {}
    virtual ~Annotation() = default;
    // A copy would share the list links of the original.
    Annotation(const Annotation&) = delete;
    Annotation& operator=(const Annotation&) = delete;

    uint32_t type;
    uint32_t begin;
    uint32_t end;
};

} // namespace qvr::common

#pragma once

#include <cstdint>
#include <list>
#include <set>
#include <string>
#include <vector>

#include "document/annotation.h"
#include "document/morph_data.h"

namespace dez::trelix {

// Kind 3.
class Token : public Annotation {
public:
    Token(uint32_t begin, uint32_t end, const std::string& literal)
        : Annotation(annotation_token, begin, end), literal(literal) {}

    // Keeps the ids ascending; an id already present is stored again.
    void push(uint32_t const& id) override;
    bool has(uint32_t const& id) const override;

    std::string literal;
    std::list<MorphData> readings;
    std::set<std::string> properties;
    std::vector<uint32_t> encoded_ids;
    // Bit 4 (0x10): the lexicon lookup found the property "tag".
    uint64_t token_flags = 0;
};

} // namespace dez::trelix

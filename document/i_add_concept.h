#pragma once

#include <string>

#include "document/annotation.h"

namespace dez::trelix {

class Concept;

// Where matched stretches become concepts: the rule matcher, concept
// definitions, lexicons and conjecture all go through it. `end` is the first
// annotation after the stretch. The answer is the concept added or updated,
// or null when nothing was added.
class IAddConcept {
public:
    virtual Concept* operator()(RawPtrIterator begin, RawPtrIterator end, const std::string& uri,
                                const std::string& attributes, Concept* parent,
                                const std::string& rule_id) = 0;
    virtual Concept* operator()(const Annotation* begin, const Annotation* end,
                                const std::string& uri, const std::string& attributes,
                                Concept* parent, const std::string& rule_id) = 0;
    virtual ~IAddConcept() = default;
};

} // namespace dez::trelix

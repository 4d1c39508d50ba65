#pragma once

namespace dez::trelix {

class Concept;

// Which concepts a result writer leaves out.
class FilterConceptInterface {
public:
    // True: leave the concept out.
    virtual bool operator()(const Concept& concept_) const = 0;
    virtual ~FilterConceptInterface() = default;
};

} // namespace dez::trelix

#pragma once

#include <string>

#include "document/annotation.h"
#include "document/attributes.h"
#include "document/i_add_concept.h"

namespace dez::trelix {

class Blackboard;
class Concept;

// The document's concept inserter: places each concept at its ordered
// position in its sentence list (see concept_insertion.h), or updates the
// concept of the same uri and span, or refuses it; then runs the
// part-of-speech filter, inheritance, nested deletion, rule functions,
// concept definitions and conditions. The Blackboard owns it.
class AddConceptToCollection : public IAddConcept {
public:
    // Reads the debug flags once.
    explicit AddConceptToCollection(Blackboard& blackboard);

    // Parses the attribute text, reads a "+" uri as canonical forms, gives
    // filter actions their own uri, then inserts.
    Concept* operator()(RawPtrIterator begin, RawPtrIterator end, const std::string& uri,
                        const std::string& attributes, Concept* parent,
                        const std::string& rule_id) override;
    // Forwards to the entry above through the virtual call.
    Concept* operator()(const Annotation* begin, const Annotation* end, const std::string& uri,
                        const std::string& attributes, Concept* parent,
                        const std::string& rule_id) override;

    // The insertion itself; concept definitions call it for follow-up
    // concepts. The rule id is not used here.
    Concept* operator()(RawPtrIterator begin, RawPtrIterator end, const std::string& uri,
                        Attributes attributes, Concept* parent, const std::string& rule_id);

    Blackboard& blackboard;
    // Debug option "insertion": every decision on standard output.
    const bool trace_insertion;
    // Debug option "rule_info" or "rule_info_short": concepts note their
    // domain.
    const bool rule_info;
    // Debug option "overlap": overlapping concepts of one uri are reported
    // and kept instead of refused.
    const bool overlap;
};

} // namespace dez::trelix

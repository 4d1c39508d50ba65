#pragma once

#include <string>

#include "document/annotation_collection.h"
#include "document/attributes.h"
#include "document/concept.h"
#include "foundation/regex.h"

namespace dez::trelix {

class Blackboard;

// "Name[N]" or "Name[N].attribute", N from 1 to 9: the value of an "inherit"
// attribute that names one nested concept.
extern const dez::Regex inherit_regex_pattern;

// The first of the concepts with the concept's begin and end that stand
// directly in front of it (the concept itself when there are none).
Concept* align_begin_concept(Concept* concept_);

// Every own "_condition" (memento_key=value) must hold at the concept's
// begin; the first that does not, or a document without mementos, marks the
// concept deleted. The conditions stay on the concept.
void apply_conditions(Blackboard& blackboard, Concept* concept_);

// With a "pos" attribute, the word classes of the concept's tokens must equal
// one own "pos" value (or match one written as /expression/); otherwise the
// concept is marked deleted and the answer is false. Own "pos" values are
// removed.
bool apply_pos_filter(AnnotationCollection& list, Concept* concept_);

// The public attributes of the nested concepts with the concept's uri, a key
// taken from the concept nearest the end, with its first value.
Attributes collect_inheritance_attribute(AnnotationCollection& list, Concept* concept_);
// The public attributes (or only `attribute`) of the N-th nested `Name`
// concept, for a value "Name[N]" or "Name[N].attribute".
Attributes collect_inheritance_attribute(AnnotationCollection& list, Concept* concept_,
                                         const std::string& reference);

// Copies what the own "inherit" values ask for onto the concept and removes
// them; nothing happens to "tlx::anaphora" concepts.
void apply_inheritance(AnnotationCollection& list, Concept* concept_);

} // namespace dez::trelix

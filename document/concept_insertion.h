#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>

#include "document/annotation.h"
#include "document/annotation_collection.h"
#include "document/attributes.h"
#include "document/concept.h"
#include "document/end_annotation.h"
#include "document/sentence_info.h"

// The steps of putting a concept into a sentence list. The list keeps this
// order: a concept stands directly in front of the first annotation of its
// span; in a run of concepts an enclosing one comes before those it encloses
// and, among equal spans, the newest comes first, except that a child with
// exactly its parent's span follows the parent; the sentence-wide concept
// stays first; an end marker follows the last annotation of a span.

namespace dez::trelix {

class AddConceptToCollection;
class Blackboard;
struct ConceptDefinition;

namespace runtime {
struct Context;
}

// What find_insertion_point decided.
enum InsertionAction : int {
    insertion_add = 0,    // a new concept before the position
    insertion_update = 1, // the concept at the position
    insertion_ignore = 2,
};

// The first annotation at or after the position that is not an end marker.
RawPtrIterator align_begin(RawPtrIterator position);

// Whether the document text holds a line feed in the characters
// [begin, end); offsets are mapped to bytes through the offset table.
bool has_crlf(const Blackboard& blackboard, uint32_t begin, uint32_t end);

// The run of concepts in front of `annotation` as [first, first non-concept):
// the sentence-wide concept at the head of the list is never part of it.
std::pair<Annotation*, Annotation*> find_range(Annotation* annotation,
                                               const qvr::common::RawPtrList<Annotation>& list);

// Walking back from the position (included) to the head of the list: the
// first concept of the uri that begins before `begin` and ends after it.
// `end` is not used.
Concept* has_bigger_concepts(RawPtrIterator position, uint32_t begin, uint32_t end,
                             const std::string& uri);

// Add, update or ignore, and where, for a concept [begin, end) of the uri
// whose begin position has the run `range`.
std::pair<InsertionAction, Annotation*>
find_insertion_point(const std::pair<Annotation*, Annotation*>& range, uint32_t begin,
                     uint32_t end, const std::string& uri);

// Sets the flag (a position in Concept::flags) on the concepts inside the
// concept that name it as parent or share its uri, and on theirs in turn.
// False when one of them that begins later asked for the shortest match.
// A flag position of 6 or more raises std::out_of_range once a concept is met.
bool mark_childeren_as_deleted(Concept* concept_, size_t flag);
// The concept at `begin`, then the concepts of the uri up to `end`; false when
// `begin` is no concept, has no inside, or a nested one of the uri asked for
// the shortest match.
bool mark_childeren_as_deleted(RawPtrIterator begin, RawPtrIterator end, const std::string& uri,
                               size_t flag);
// From the concept to its end marker with its own uri.
bool mark_childeren_as_deleted(qvr::common::RawPtrList<Annotation>& list, Concept* concept_,
                               size_t flag);

// Moves the concept in front of the directly preceding concepts with its begin
// that are not longer.
void move_to_new_location(qvr::common::RawPtrList<Annotation>& list, Annotation* annotation);

// Kept for the call sites of the capture-group walk; checks nothing.
void assert_level_capture_group(const Concept* concept_);
// Follows first parents upward while `depth` (counted up from the caller's
// value) stays at most 4.
Concept* get_top_level_capture_group_recursive(Concept* concept_, int& depth);
// The concept reached by following first parents, at most five steps; null
// for null.
Concept* get_top_level_capture_group(Concept* concept_);

// Gives the concept its id from the current domain and enters it in the
// sentence's id set; nothing when the domain does not know the uri.
void reset_encoding(Blackboard& blackboard, Concept* concept_, Sentence* sentence);

// Registers the concept in the end marker at `end` (or just before it),
// making one when needed. The marker when it is new or found at `end`, else
// null.
EndAnnotation* add_end_annotation(qvr::common::RawPtrList<Annotation>& list, RawPtrIterator begin,
                                  RawPtrIterator end, Concept* concept_);

// Adds the domain's definition of the concept's uri: its attributes, then
// its follow-up concepts and functions over the same span.
void apply_concept_definitions(AddConceptToCollection& collector,
                               const std::map<std::string, ConceptDefinition>& definitions,
                               Concept* concept_, runtime::Context& context);

// Where insertion adds a rule's attribute: "pos", "inherit" and "_condition"
// are instructions to the concept itself and always go to its own part;
// everything else as store type 0 puts it.
ConceptAttributeStoreType store_for(const std::string& key);

// A uri "A+B+C" is the concept C with the canonical forms A and B.
void split_canonical_uri(std::string& uri, Attributes& attributes);
// "tlx::filter" followed by a number that tells filter actions with different
// attributes apart; 0 without attributes.
std::string filter_uri(const Attributes& attributes);

} // namespace dez::trelix

#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "document/annotation.h"
#include "document/concept.h"

namespace dez::trelix {

// Texts of a stretch of annotations: from begin, following the list links, up
// to but not including end. Only tokens contribute, also those of sentences
// inside the range.

// The literals joined by single spaces, trimmed.
std::string get_annotation_string(const RawPtrIterator& begin, const RawPtrIterator& end);
// The text with the source's spacing, name parts by their stems, trimmed.
std::string get_annotation_real_string(const RawPtrIterator& begin, const RawPtrIterator& end);

// Where a concept's range ends: its end marker. A concept without one ends at
// the first annotation past its span, so that a walk over it never runs on to
// the end of the sentence.
RawPtrIterator concept_range_end(const Concept* concept_);

// Its attribute "canonical" when not empty, else its literal text.
std::string get_canonical(const Concept* concept_);
// Its attribute "canonical" when not empty, else its real text camel-cased.
std::string get_person_canonical(const Concept* concept_);
// The word classes of its tokens, concatenated ("PropNn").
std::string get_pos_sequence(const Concept* concept_);

// Typographic quotes, primes and the L with stroke to their plain forms.
extern const std::map<uint32_t, uint32_t> dez_input_converter;
// Malformed UTF-8 raises utfcpp's errors.
std::string cleanup_input(const std::string& text);

} // namespace dez::trelix

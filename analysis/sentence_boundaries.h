#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "document/annotation.h"
#include "document/sentence_info.h"

namespace dez::trelix {

class AnnotationCollection;
class Blackboard;
class Sentence;

using SentenceTable = std::vector<std::pair<uint32_t, SentenceInfo>>;

// Moving sentence boundaries while keeping each sentence list whole: the
// "Sentence" concept first, then the tokens, one end annotation listing that
// concept, and an end-of-stream marker.

// Splits the current sentence so that a new one, inserted after it in the
// collection, starts at `b` (a token of the current sentence after its
// first); `a` is not used. The current sentence keeps what stands before
// `b`. The caller updates the sentence table.
Sentence* split_sentence(AnnotationCollection& collection, RawPtrIterator& current, Annotation* a,
                         Annotation* b);

// Merges the sentence after the current one into it, unless that one is
// `stop` (or there is none): then {that sentence, table end} and nothing
// changes. Otherwise the merged sentence's table entry goes too and
// {current sentence, table_position} is the answer.
std::pair<Sentence*, SentenceTable::iterator>
append_sentences(Blackboard* document, AnnotationCollection& collection,
                 SentenceTable::iterator& table_position, RawPtrIterator& current,
                 RawPtrIterator& stop);

// Registers the sentence concept in the list's last end annotation (made when
// the list has none) and ends it there.
void fix_sentence_end_annotation(Sentence& sentence);

// Takes the first "Sentence" concept off an end annotation; true when the
// annotation then lists no concept. False for anything but an end annotation.
bool remove_safe_end_annotation_sentence(Annotation* annotation);

// The first token that is not punctuation gets "init-token" and loses "nf".
void set_init_token_attribute(qvr::common::RawPtrList<Annotation>& list);

// The sentence after this one in the document list, or null.
Sentence* next_sentence(const Sentence* sentence);

} // namespace dez::trelix

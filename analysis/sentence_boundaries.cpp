#include "analysis/sentence_boundaries.h"

#include <algorithm>
#include <string>

#include "analysis/token_helpers.h"
#include "analysis/token_predicates.h"
#include "document/blackboard.h"
#include "document/concept.h"
#include "document/end_annotation.h"
#include "document/end_of_stream.h"
#include "document/sentence.h"
#include "document/token.h"

namespace dez::trelix {

namespace {

const char* const sentence_uri = "Sentence";

bool is_sentence_concept(const Annotation* a) {
    return a && a->type == annotation_concept &&
           static_cast<const Concept*>(a)->uri == sentence_uri;
}

Concept* sentence_concept(const Sentence& sentence) {
    Annotation* head = sentence.annotations.head;
    return is_sentence_concept(head) ? static_cast<Concept*>(head) : nullptr;
}

EndAnnotation* last_end_annotation(const Sentence& sentence) {
    for (Annotation* a = sentence.annotations.tail; a; a = a->prev)
        if (a->type == annotation_end)
            return static_cast<EndAnnotation*>(a);
    return nullptr;
}

// Takes every "Sentence" concept off the marker; the ones that ended there
// no longer do.
void drop_sentence_concepts(EndAnnotation& marker) {
    auto& concepts = marker.concepts;
    for (Annotation* a : concepts)
        if (is_sentence_concept(a) && static_cast<Concept*>(a)->end_annotation == &marker)
            static_cast<Concept*>(a)->end_annotation = nullptr;
    concepts.erase(std::remove_if(concepts.begin(), concepts.end(), is_sentence_concept),
                   concepts.end());
}

void end_at(Concept& concept_, EndAnnotation& marker) {
    marker.add(&concept_);
    concept_.end = marker.begin;
    concept_.end_annotation = &marker;
}

// A list closes with its end-of-stream marker; a list without one gets one.
Annotation* end_of_stream(Sentence& sentence, uint32_t offset) {
    Annotation* tail = sentence.annotations.tail;
    if (tail && tail->type == annotation_end_of_stream)
        return tail;
    auto* marker = new EndOfStream(offset);
    sentence.annotations.push_back(marker);
    return marker;
}

} // namespace

Sentence* next_sentence(const Sentence* sentence) {
    Annotation* next = sentence ? sentence->next : nullptr;
    return next && next->type == annotation_sentence ? static_cast<Sentence*>(next) : nullptr;
}

void set_init_token_attribute(qvr::common::RawPtrList<Annotation>& list) {
    for (Annotation* a = list.head; a; a = a->next) {
        if (a->type != annotation_token)
            continue;
        auto* token = static_cast<Token*>(a);
        if (is_punctuation(token))
            continue;
        token->properties.insert("init-token");
        token->properties.erase("nf");
        return;
    }
}

bool remove_safe_end_annotation_sentence(Annotation* annotation) {
    if (!annotation || annotation->type != annotation_end)
        return false;
    auto* marker = static_cast<EndAnnotation*>(annotation);
    auto& concepts = marker->concepts;
    const auto found = std::find_if(concepts.begin(), concepts.end(), is_sentence_concept);
    if (found != concepts.end()) {
        auto* concept_ = static_cast<Concept*>(*found);
        if (concept_->end_annotation == marker)
            concept_->end_annotation = nullptr;
        concepts.erase(found);
    }
    return concepts.empty();
}

void fix_sentence_end_annotation(Sentence& sentence) {
    Concept* head = sentence_concept(sentence);
    if (!head)
        return;
    EndAnnotation* marker = last_end_annotation(sentence);
    if (!marker) {
        marker = new EndAnnotation(sentence.end);
        sentence.annotations.insert(end_of_stream(sentence, sentence.end), marker);
    }
    drop_sentence_concepts(*marker);
    end_at(*head, *marker);
}

Sentence* split_sentence(AnnotationCollection& collection, RawPtrIterator& current, Annotation*,
                         Annotation* b) {
    auto* sentence = static_cast<Sentence*>(current.get());
    auto* created = new Sentence(b->begin, sentence->end);
    collection.insert(RawPtrIterator(sentence->next), created);

    const Token* before = find_previous_token(RawPtrIterator(b), 1);
    sentence->end = before ? before->end : b->begin;

    auto* head = new Concept(created->begin, created->end, sentence_uri);
    created->annotations.push_back(head);
    for (Annotation* a = b; a;) {
        Annotation* next = a->next;
        sentence->annotations.unlink(a);
        created->annotations.push_back(a);
        a = next;
    }
    set_init_token_attribute(created->annotations);

    // The end annotation that came along with the tail now ends the new
    // sentence concept instead of the old one.
    Annotation* stream_end = end_of_stream(*created, created->end);
    EndAnnotation* moved = stream_end->prev && stream_end->prev->type == annotation_end
                               ? static_cast<EndAnnotation*>(stream_end->prev)
                               : nullptr;
    if (!moved) {
        moved = new EndAnnotation(created->end);
        created->annotations.insert(stream_end, moved);
    }
    drop_sentence_concepts(*moved);
    end_at(*head, *moved);

    auto* closing = new EndAnnotation(sentence->end);
    sentence->annotations.push_back(closing);
    if (Concept* old_head = sentence_concept(*sentence))
        end_at(*old_head, *closing);
    sentence->annotations.push_back(new EndOfStream(sentence->end));
    return created;
}

std::pair<Sentence*, SentenceTable::iterator>
append_sentences(Blackboard* document, AnnotationCollection& collection,
                 SentenceTable::iterator& table_position, RawPtrIterator& current,
                 RawPtrIterator& stop) {
    auto* sentence = static_cast<Sentence*>(current.get());
    Sentence* next = next_sentence(sentence);
    if (!next || RawPtrIterator(next) == stop)
        return {next, document->sentences.end()};

    if (Annotation* tail = sentence->annotations.tail;
        tail && tail->type == annotation_end_of_stream) {
        sentence->annotations.unlink(tail);
        delete tail;
    }
    if (EndAnnotation* marker = last_end_annotation(*sentence);
        remove_safe_end_annotation_sentence(marker)) {
        sentence->annotations.unlink(marker);
        delete marker;
    }

    Concept* next_head = sentence_concept(*next);
    if (next_head)
        next->annotations.unlink(next_head);
    while (Annotation* a = next->annotations.head) {
        next->annotations.unlink(a);
        sentence->annotations.push_back(a);
    }
    // Its destructor takes it off the end annotation that came along.
    delete next_head;

    sentence->end = next->end;
    sentence->sentence_flags |= next->sentence_flags;
    fix_sentence_end_annotation(*sentence);

    // The entry of the merged sentence follows the current one; a table out
    // of step with the list is searched.
    auto& table = document->sentences;
    const auto is_next = [&](const SentenceTable::value_type& entry) {
        return entry.second.sentence == next;
    };
    auto entry = table_position != table.end() ? std::next(table_position) : table.end();
    if (entry == table.end() || !is_next(*entry))
        entry = std::find_if(table.begin(), table.end(), is_next);
    if (entry != table.end()) {
        const bool at_end = table_position == table.end();
        const auto index = table_position - table.begin();
        const bool before = !at_end && entry < table_position;
        table.erase(entry);
        table_position = at_end ? table.end() : table.begin() + (before ? index - 1 : index);
    }
    collection.unlink(next);
    delete next;
    return {sentence, table_position};
}

} // namespace dez::trelix

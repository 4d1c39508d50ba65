#include "api/json_formatters.h"

#include <ostream>

#include "document/concept.h"
#include "document/sentence.h"
#include "document/token.h"

namespace dez::trelix::v2 {

namespace {

void sentence_head(std::ostream& os, json_object_printer& printer, const Sentence& sentence) {
    os << '[' << sentence.type << ',' << printer.mapper(sentence.begin) << ','
       << printer.mapper(sentence.end) << ",[";
}

} // namespace

void DefaultJSONFormatter::operator()(const Sentence& sentence) {
    if (first)
        first = false;
    else
        os << ',';
    sentence_head(os, printer, sentence);
    bool first_item = true;
    for (Annotation* a = sentence.annotations.head; a; a = a->next) {
        if (a->type != annotation_concept && a->type != annotation_token)
            continue;
        if (a->type == annotation_concept && (*filter)(*static_cast<const Concept*>(a)))
            continue;
        if (!first_item)
            os << ',';
        first_item = false;
        if (a->type == annotation_token)
            printer(*static_cast<const Token*>(a));
        else
            printer(*static_cast<Concept*>(a));
    }
    os << ']';
    const Annotation* head = sentence.annotations.head;
    if (head && head->type == annotation_concept) {
        const auto* leading = static_cast<const Concept*>(head);
        if (!leading->attributes.attributes.empty()) {
            os << ',';
            to_json(os, leading->attributes, sentence_filter);
        }
    }
    os << ']';
}

void DebugJSONFormatter::operator()(const Sentence& sentence) {
    if (first)
        first = false;
    else
        os << ',';
    sentence_head(os, printer, sentence);
    bool first_item = true;
    for (Annotation* a = sentence.annotations.head; a; a = a->next) {
        // End markers and end-of-stream markers are never written.
        if (a->type != annotation_concept && a->type != annotation_token)
            continue;
        if (!first_item)
            os << ',';
        first_item = false;
        if (a->type == annotation_token)
            printer(*static_cast<const Token*>(a));
        else
            printer(*static_cast<Concept*>(a));
    }
    os << "]]";
}

} // namespace dez::trelix::v2

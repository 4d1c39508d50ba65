#include "api/json_formatters.h"

#include <ostream>

#include "api/stream_json_api_format.h"
#include "document/concept.h"
#include "document/sentence.h"
#include "document/token.h"

namespace dez::trelix::v2 {

namespace {

// A comma before every sentence but the first, then the sentence array up to
// the end of its items: its tokens and concepts in order (end markers are
// never written), without the concepts `filter` refuses when one is given.
void sentence_items(std::ostream& os, json_object_printer& printer, bool& first,
                    const Sentence& sentence, const FilterConceptInterface* filter) {
    if (first)
        first = false;
    else
        os << ',';
    os << '[' << sentence.type << ',' << printer.mapper(sentence.begin) << ','
       << printer.mapper(sentence.end) << ",[";
    bool first_item = true;
    for (Annotation* a = sentence.annotations.head; a; a = a->next) {
        if (!is_valid(*a))
            continue;
        if (filter && a->type == annotation_concept && (*filter)(*static_cast<const Concept*>(a)))
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
}

} // namespace

void DefaultJSONFormatter::operator()(const Sentence& sentence) {
    sentence_items(os, printer, first, sentence, filter.get());
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
    sentence_items(os, printer, first, sentence, nullptr);
    os << ']';
}

} // namespace dez::trelix::v2

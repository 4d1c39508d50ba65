#pragma once

#include <memory>
#include <ostream>

#include "api/attribute_name_filters.h"
#include "api/json_object_printer.h"
#include "api/offset_mappers.h"
#include "document/annotation_collection.h"
#include "document/blackboard.h"
#include "document/filter_concept_interface.h"
#include "document/sentence.h"

namespace dez::trelix::v2 {

// Writes the "sentences" member with the given sentence formatter: the key,
// an opening bracket and one blank, every sentence of the document, and the
// closing bracket. The formatter's printer writes flags for the internal
// form only.
template <typename Formatter>
void jsonSentences(Blackboard& document, std::ostream& os,
                   std::shared_ptr<FilterConceptInterface> filter,
                   const AttributeNameFilter& sentence_filter, bool flags = false) {
    os << "\"sentences\":[ ";
    json_object_printer printer(document, os, make_offset_mapper(document), get_filter(document),
                                flags);
    Formatter formatter(document, os, std::move(filter), std::move(printer), sentence_filter);
    for (Annotation* a = document.annotations->head; a; a = a->next)
        if (a->type == annotation_sentence)
            formatter(*static_cast<const Sentence*>(a));
    os << ']';
}

} // namespace dez::trelix::v2

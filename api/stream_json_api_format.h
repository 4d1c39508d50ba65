#pragma once

#include <iosfwd>
#include <memory>

#include "document/filter_concept_interface.h"

namespace dez::trelix {

class Annotation;
class Blackboard;

// The result JSON ("v2") of the document; what dez_api_get_result_json_buffer
// returns. Printing is not read-only: it may add instance attributes to
// concepts. A stream that fails while writing raises dez::Exception.
void stream_json_api_format(Blackboard& document, std::ostream& os);

namespace v2 {

void stream_json_api_format(Blackboard& document, std::ostream& os);

// The "id" member, only when the document's own options hold "id"; answers
// whether it wrote it.
bool jsonDocumentId(Blackboard& document, std::ostream& os);
void jsonLanguage(Blackboard& document, std::ostream& os);

// The concept filter "annotation_filter" selects.
std::shared_ptr<FilterConceptInterface> choose_concept_filter(Blackboard& document);

// True for the kinds written as items: concepts and tokens.
bool is_valid(const Annotation& annotation);

} // namespace v2
} // namespace dez::trelix

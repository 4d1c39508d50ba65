#pragma once

#include <iosfwd>

namespace dez::trelix {

class Blackboard;

// The internal form: every token and concept with the concepts' flags, and
// the text streams the lexicon lookup built. A failed stream raises
// dez::Exception.
void stream_internal_results_json_format(Blackboard& document, std::ostream& os);

// The document's metadata object, "{}" without metadata.
void stream_json_api_metadata(Blackboard& document, std::ostream& os);

namespace v2 {

void stream_internal_results_json_format(Blackboard& document, std::ostream& os);
// The stream objects, separated by commas, of the streams whose buffer is not
// empty; makes the document's stream collection when it has none.
void jsonStreams(Blackboard& document, std::ostream& os);
void stream_json_api_metadata(Blackboard& document, std::ostream& os);
void jsonMetaData(const Blackboard& document, std::ostream& os);

} // namespace v2
} // namespace dez::trelix

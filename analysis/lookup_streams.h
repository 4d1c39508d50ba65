#pragma once

#include <array>
#include <memory>

#include "document/annotation_stream_info.h"

namespace dez::trelix {

class Blackboard;
class DomainFacade;

// One buffer per text stream, indexed by the stream's value (literal 0 to
// canonical 6). A document keeps one under its property "asi".
using stream_collection_type = std::array<annotation_stream_info, 7>;

// The document's collection, made empty on first use.
stream_collection_type& get_lookup_streams(Blackboard& blackboard);

// Builds the buffer of every stream the domain's lexicons read that is not
// built yet (its start map is empty). With the debug flag "streams" or
// "stream_lookup" each buffer built is printed to standard output.
void create_lookup_stream(Blackboard& blackboard, const std::shared_ptr<DomainFacade>& domain);

} // namespace dez::trelix

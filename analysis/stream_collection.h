#pragma once

#include <array>

#include "document/annotation_stream_info.h"

namespace dez::trelix {

class Blackboard;

// The document's lookup buffers, one per text stream, indexed by the
// dez::text_stream_type value; kept in the document's properties under "asi".
using stream_collection_type = std::array<annotation_stream_info, 7>;

// The document's collection, made (seven empty buffers) and stored on first
// use.
stream_collection_type& get_lookup_streams(Blackboard& document);

} // namespace dez::trelix

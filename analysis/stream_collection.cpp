#include "analysis/stream_collection.h"

#include <memory>

#include "document/blackboard.h"

namespace dez::trelix {

stream_collection_type& get_lookup_streams(Blackboard& document) {
    std::shared_ptr<void>& entry = document.properties["asi"];
    if (!entry)
        entry = std::make_shared<stream_collection_type>();
    return *static_cast<stream_collection_type*>(entry.get());
}

} // namespace dez::trelix

#include "analysis/lookup_streams.h"

#include <iostream>

#include "analysis/lexicon_facade.h"
#include "document/annotation_buffer.h"
#include "document/blackboard.h"
#include "domain/domain_facade.h"

namespace dez::trelix {

stream_collection_type& get_lookup_streams(Blackboard& blackboard) {
    std::shared_ptr<void>& slot = blackboard.properties["asi"];
    if (!slot)
        slot = std::make_shared<stream_collection_type>();
    return *static_cast<stream_collection_type*>(slot.get());
}

void create_lookup_stream(Blackboard& blackboard, const std::shared_ptr<DomainFacade>& domain) {
    const bool display =
        blackboard.dbg_options["streams"] || blackboard.dbg_options["stream_lookup"];
    if (display)
        std::cout << "Display Lexicon Streams" << std::endl;
    stream_collection_type& streams = get_lookup_streams(blackboard);
    for (const auto& entry : domain->lexicons) {
        const dez::text_stream_type type = entry.second->input;
        if (type >= streams.size())
            continue;
        annotation_stream_info& buffer = streams[type];
        if (!buffer.begin_map.empty())
            continue;
        buffer = get_annotation_buffer(*blackboard.annotations, type);
        buffer.stream_type = type;
        if (display) {
            std::cout << "input= " << dez::get_stream_name(type) << std::endl << "[";
            std::cout.write(buffer.buffer.data(),
                            static_cast<std::streamsize>(buffer.buffer.size()));
            std::cout << "]" << std::endl;
        }
    }
}

} // namespace dez::trelix

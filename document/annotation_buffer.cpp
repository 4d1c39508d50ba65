#include "document/annotation_buffer.h"

#include "document/annotation_stream_visitors.h"

namespace dez::trelix {

namespace {

template <typename StreamVisitor>
void fill(annotation_stream_info& info, const AnnotationCollection& collection) {
    StreamVisitor visitor(&info);
    visitor.visit(collection);
}

} // namespace

annotation_stream_info get_annotation_buffer(const AnnotationCollection& collection,
                                             const dez::text_stream_type& type) {
    using dez::string::NormalizeToLowerCharTraits;
    using dez::string::ToLowerCharTraits;
    using Info = annotation_stream_info;

    Info info;
    switch (type) {
    case dez::literal:
        fill<get_literal_stream<Info, DefaultCharTraits, AllTokens>>(info, collection);
        break;
    case dez::stem:
        fill<get_stem_stream<Info, DefaultCharTraits, AllTokens>>(info, collection);
        break;
    case dez::normalized_literal:
        fill<get_literal_stream<Info, NormalizeToLowerCharTraits, NormalizedStreamTokens>>(
            info, collection);
        break;
    case dez::normalized_stem:
        fill<get_stem_stream<Info, NormalizeToLowerCharTraits, NormalizedStreamTokens>>(info,
                                                                                        collection);
        break;
    case dez::component:
        fill<get_component_stream<Info, ToLowerCharTraits>>(info, collection);
        break;
    case dez::head:
        fill<get_head_stream<Info, ToLowerCharTraits>>(info, collection);
        break;
    case dez::canonical:
        fill<get_canonical_stream<Info, DefaultCharTraits>>(info, collection);
        break;
    default:
        break;
    }
    return info;
}

} // namespace dez::trelix

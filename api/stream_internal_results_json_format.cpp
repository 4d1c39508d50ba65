#include "api/stream_internal_results_json_format.h"

#include <ostream>
#include <string>

#include <nlohmann/json.hpp>

#include "analysis/lookup_streams.h"
#include "api/attribute_name_filters.h"
#include "api/concept_filters.h"
#include "api/encoded_quoted_string.h"
#include "api/json_formatters.h"
#include "api/json_sentences.h"
#include "document/blackboard.h"
#include "foundation/exception.h"
#include "foundation/text_stream_type.h"

namespace dez::trelix {

namespace {

void check_stream(const std::ostream& os, const char* what) {
    if (!os)
        throw dez::Exception(std::string("The ") + what +
                             " could not be written: the output stream failed.");
}

} // namespace

void stream_internal_results_json_format(Blackboard& document, std::ostream& os) {
    v2::stream_internal_results_json_format(document, os);
}

void stream_json_api_metadata(Blackboard& document, std::ostream& os) {
    v2::stream_json_api_metadata(document, os);
}

namespace v2 {

void stream_internal_results_json_format(Blackboard& document, std::ostream& os) {
    const AttributeNameFilter sentence_filter = json_printer_attribute_filter_dbg();
    os << '{';
    jsonSentences<DebugJSONFormatter>(document, os, std::make_shared<FilterNothing>(),
                                      sentence_filter, true);
    os << ",\"streams\" : [";
    jsonStreams(document, os);
    os << "]}";
    check_stream(os, "internal result JSON");
}

void jsonStreams(Blackboard& document, std::ostream& os) {
    bool first = true;
    for (const annotation_stream_info& stream : get_lookup_streams(document)) {
        if (stream.buffer.empty())
            continue;
        if (!first)
            os << ',';
        first = false;
        const auto type = static_cast<dez::text_stream_type>(stream.stream_type);
        const std::string text(stream.buffer.begin(), stream.buffer.end());
        os << "{ \"type\":" << encoded_quoted_string(dez::get_stream_name(type))
           << ",\"text\":" << encoded_quoted_string(text) << '}';
    }
}

void stream_json_api_metadata(Blackboard& document, std::ostream& os) {
    jsonMetaData(document, os);
    check_stream(os, "metadata JSON");
}

void jsonMetaData(const Blackboard& document, std::ostream& os) {
    if (document.metadata)
        os << *document.metadata;
    else
        os << "{}";
}

} // namespace v2
} // namespace dez::trelix

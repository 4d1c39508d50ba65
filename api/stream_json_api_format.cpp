#include "api/stream_json_api_format.h"

#include <ostream>
#include <string>

#include "api/attribute_name_filters.h"
#include "api/concept_filters.h"
#include "api/encoded_quoted_string.h"
#include "api/json_formatters.h"
#include "api/json_sentences.h"
#include "document/blackboard.h"
#include "foundation/exception.h"

namespace dez::trelix {

void stream_json_api_format(Blackboard& document, std::ostream& os) {
    v2::stream_json_api_format(document, os);
}

namespace v2 {

std::shared_ptr<FilterConceptInterface> choose_concept_filter(Blackboard& document) {
    if (document.option_anywhere->has("annotation_filter")) {
        const std::string value = document.option_anywhere->get("annotation_filter");
        if (value == "__debug__")
            return std::make_shared<FilterNothing>();
        if (value == "__compiler__")
            return std::make_shared<QrcFilter>();
    }
    return std::make_shared<ImportOnlyFilter>();
}

bool jsonDocumentId(Blackboard& document, std::ostream& os) {
    if (!document.options || !document.options->has("id"))
        return false;
    os << "\"id\":" << encoded_quoted_string(document.options->get("id"));
    return true;
}

void jsonLanguage(Blackboard& document, std::ostream& os) {
    os << "\"language\":" << encoded_quoted_string(document.language);
}

bool is_valid(const Annotation& annotation) {
    return annotation.type == annotation_concept || annotation.type == annotation_token;
}

void stream_json_api_format(Blackboard& document, std::ostream& os) {
    auto filter = choose_concept_filter(document);
    os << '{';
    if (jsonDocumentId(document, os))
        os << ',';
    jsonLanguage(document, os);
    os << ',';
    const AttributeNameFilter sentence_filter = get_filter(document);
    jsonSentences<DefaultJSONFormatter>(document, os, std::move(filter), sentence_filter);
    os << '}';
    if (!os)
        throw dez::Exception("The result JSON could not be written: the output stream failed.");
}

} // namespace v2
} // namespace dez::trelix

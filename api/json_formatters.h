#pragma once

#include <iosfwd>
#include <memory>

#include "api/attribute_name_filters.h"
#include "api/json_object_printer.h"
#include "document/filter_concept_interface.h"

namespace dez::trelix {
class Blackboard;
class Sentence;
} // namespace dez::trelix

namespace dez::trelix::v2 {

// Prints one sentence array of the result JSON: the tokens and the concepts
// the filter keeps, and the attributes of a leading concept.
class DefaultJSONFormatter {
public:
    DefaultJSONFormatter(Blackboard& document, std::ostream& os,
                         std::shared_ptr<FilterConceptInterface> filter,
                         json_object_printer printer, const AttributeNameFilter& sentence_filter)
        : document(document), os(os), filter(std::move(filter)), printer(std::move(printer)),
          sentence_filter(sentence_filter) {}

    void operator()(const Sentence& sentence);

    Blackboard& document;
    std::ostream& os;
    std::shared_ptr<FilterConceptInterface> filter;
    json_object_printer printer;
    const AttributeNameFilter& sentence_filter;
    bool first = true;
};

// Prints one sentence array of the internal form: every token and concept,
// concepts with their flags; no sentence attributes.
class DebugJSONFormatter {
public:
    DebugJSONFormatter(Blackboard& document, std::ostream& os,
                       std::shared_ptr<FilterConceptInterface> filter, json_object_printer printer,
                       const AttributeNameFilter& sentence_filter)
        : document(document), os(os), filter(std::move(filter)), printer(std::move(printer)),
          sentence_filter(sentence_filter) {}

    void operator()(const Sentence& sentence);

    bool first = true;
    Blackboard& document;
    std::ostream& os;
    // Kept for the common formatter shape; this form writes every concept.
    std::shared_ptr<FilterConceptInterface> filter;
    json_object_printer printer;
    const AttributeNameFilter& sentence_filter;
};

} // namespace dez::trelix::v2

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
    DefaultJSONFormatter(Blackboard&, std::ostream& os,
                         std::shared_ptr<FilterConceptInterface> filter,
                         json_object_printer printer, const AttributeNameFilter& sentence_filter)
        : os(os), filter(std::move(filter)), printer(std::move(printer)),
          sentence_filter(sentence_filter) {}

    void operator()(const Sentence& sentence);

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
    // The document, filter and sentence filter only give the common
    // formatter shape: this form writes every concept and no attributes.
    DebugJSONFormatter(Blackboard&, std::ostream& os, std::shared_ptr<FilterConceptInterface>,
                       json_object_printer printer, const AttributeNameFilter&)
        : os(os), printer(std::move(printer)) {}

    void operator()(const Sentence& sentence);

    bool first = true;
    std::ostream& os;
    json_object_printer printer;
};

} // namespace dez::trelix::v2

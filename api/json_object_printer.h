#pragma once

#include <iosfwd>

#include "api/attribute_name_filters.h"
#include "api/offset_mappers.h"

namespace dez::trelix {
class Blackboard;
class Concept;
class MorphData;
class Token;
} // namespace dez::trelix

namespace dez::trelix::v2 {

// Prints one token or concept array of the result formats.
class json_object_printer {
public:
    json_object_printer(Blackboard& document, std::ostream& os, OffsetMapper mapper,
                        AttributeNameFilter filter, bool flags)
        : document(document), os(os), mapper(std::move(mapper)), filter(std::move(filter)),
          flags(flags) {}

    void operator()(const Token& token);
    // With the flags switch on, also the concept's flags object.
    void operator()(Concept& concept_);

    Blackboard& document;
    std::ostream& os;
    OffsetMapper mapper;
    AttributeNameFilter filter;
    json_printer_attribute_filter_none flags_filter;
    bool flags;

private:
    void reading(const MorphData& reading);
    void flags_object(const Concept& concept_);
};

} // namespace dez::trelix::v2

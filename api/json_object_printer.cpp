#include "api/json_object_printer.h"

#include <ostream>

#include "api/encoded_quoted_string.h"
#include "api/quoted_string.h"
#include "document/concept.h"
#include "document/morph_data.h"
#include "document/token.h"

namespace dez::trelix::v2 {

namespace {

// The flag names by bit; the attribute list keeps them sorted by name.
const char* const flag_names[] = {"deleted",  "shorted_match", "import",
                                  "filtered", "to_resolve",    "to_delete"};

} // namespace

void json_object_printer::operator()(const Token& token) {
    os << '[' << token.type << ',' << mapper(token.begin) << ',' << mapper(token.end) << ','
       << encoded_quoted_string(token.literal) << ",[";
    bool first = true;
    for (const std::string& property : token.properties) {
        if (property.empty() || property[0] == '_')
            continue;
        if (!first)
            os << ',';
        first = false;
        os << encoded_quoted_string(property);
    }
    os << "],[";
    first = true;
    for (const MorphData& r : token.readings) {
        if (!first)
            os << ',';
        first = false;
        reading(r);
    }
    os << "]]";
}

void json_object_printer::reading(const MorphData& r) {
    os << '[' << encoded_quoted_string(r.stem) << ", " << encoded_quoted_string(r.pos);
    for (const std::string& tag : r.tags) {
        if (!tag.empty() && tag[0] == '_')
            continue;
        os << ',' << encoded_quoted_string(tag);
    }
    if (!r.components.empty()) {
        os << ",[";
        bool first = true;
        for (const MorphData& component : r.components) {
            if (!first)
                os << ',';
            first = false;
            reading(component);
        }
        os << ']';
    }
    os << ']';
}

void json_object_printer::operator()(Concept& c) {
    os << '[' << c.type << ',' << mapper(c.begin) << ',' << mapper(c.end) << ','
       << encoded_quoted_string(c.uri) << ',';
    // The instance attributes of concepts carrying an instance marker come
    // from the short- and long-term instance stores; the discourse work adds
    // that step here, before the attributes are written.
    to_json(os, c.attributes, filter);
    if (flags) {
        os << ',';
        flags_object(c);
    }
    os << ']';
}

void json_object_printer::flags_object(const Concept& c) {
    ConceptAttributes set;
    for (std::size_t bit = 0; bit < c.flags.size(); ++bit)
        if (c.flags[bit])
            set.add(flag_names[bit], "true", store_by_key);
    to_json(os, set, flags_filter);
}

} // namespace dez::trelix::v2

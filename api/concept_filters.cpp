#include "api/concept_filters.h"

#include "document/concept.h"

namespace dez::trelix::v2 {

namespace {

bool internal_uri(const Concept& c) {
    return !c.uri.empty() && (c.uri[0] == '$' || c.uri[0] == ':');
}

} // namespace

bool FilterNothing::operator()(const Concept&) const {
    return false;
}

bool ImportOnlyFilter::operator()(const Concept& c) const {
    return !c.flags[Concept::import] || c.flags[Concept::deleted] || internal_uri(c);
}

bool QrcFilter::operator()(const Concept& c) const {
    if (c.flags[Concept::deleted])
        return c.uri.compare(0, 11, "tlx::filter") != 0;
    return !c.flags[Concept::import] && internal_uri(c);
}

} // namespace dez::trelix::v2

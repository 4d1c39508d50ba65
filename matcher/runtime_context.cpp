#include "matcher/runtime_context.h"

#include "document/blackboard.h"
#include "document/concept.h"

namespace dez::trelix::runtime {

Context::Context(Blackboard* document) : document(document) {}

Context::Context(Blackboard* document, Concept* concept)
    : document(document), uri(concept ? concept->uri : std::string()),
      sentence(document && concept ? get_sentence(*document, concept->begin) : nullptr),
      concept(concept), capture_group(concept) {}

Context::Context(Blackboard* document, SentenceInfo* sentence, Concept* concept,
                 Concept* capture_group)
    : document(document), uri(concept ? concept->uri : std::string()), sentence(sentence),
      concept(concept), capture_group(capture_group) {}

Context::Context(Blackboard* document, const std::string& uri, SentenceInfo* sentence,
                 Concept* concept, Concept* capture_group)
    : document(document), uri(uri), sentence(sentence), concept(concept),
      capture_group(capture_group) {}

} // namespace dez::trelix::runtime

#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace dez::trelix {

class Blackboard;
class Concept;
struct SentenceInfo;

namespace runtime {

// The call context of a rule function or plugin call: a plain copyable value.
struct Context {
    Context() = default;
    explicit Context(Blackboard* document);
    // The concept's uri; its sentence found through the document's sentence
    // table; the concept is also the capture group.
    Context(Blackboard* document, Concept* concept);
    // The concept's uri, or empty for a null concept.
    Context(Blackboard* document, SentenceInfo* sentence, Concept* concept, Concept* capture_group);
    Context(Blackboard* document, const std::string& uri, SentenceInfo* sentence, Concept* concept,
            Concept* capture_group);

    Blackboard* document = nullptr;
    std::string uri;
    // When present, overrides what some functions read from the concept.
    std::optional<std::vector<std::pair<std::string, std::string>>> arguments;
    SentenceInfo* sentence = nullptr;
    Concept* concept = nullptr;
    // The top-level capture group of the match.
    Concept* capture_group = nullptr;
};

} // namespace runtime
} // namespace dez::trelix

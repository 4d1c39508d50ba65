#pragma once

#include <memory>

namespace dez::trelix {
class AnnotationCollection;
class Blackboard;
class Sentence;
} // namespace dez::trelix

namespace dez::trelix::core::hmm {

// The HMM agent of a document, kept in its Blackboard (`hmm_store`).
class EngineInterface {
public:
    // Tags every sentence of the collection with the document language's
    // tables.
    virtual void execute(Blackboard const& document, AnnotationCollection& annotations) = 0;
    virtual ~EngineInterface() = default;
};

namespace detail {

class engine : public EngineInterface {
public:
    void execute(Blackboard const& document, AnnotationCollection& annotations) override;
};

} // namespace detail

namespace agent {
// A new agent; the Blackboard's own comes from get_store.
std::shared_ptr<EngineInterface> create(Blackboard* document);
} // namespace agent

// True when the language module of the document has emission probabilities.
bool can_execute(Blackboard& document);
// Tags every sentence of the document; always true.
bool execute(Blackboard& document);
// Tags one sentence with the language module's tables (nothing without them).
void sentence(Blackboard const& document, Sentence& sentence);
// The document's agent, made on first use.
std::shared_ptr<EngineInterface> get_store(Blackboard& document);

} // namespace dez::trelix::core::hmm

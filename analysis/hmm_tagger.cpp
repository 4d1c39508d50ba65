#include "analysis/hmm_tagger.h"

#include "analysis/hmm_resource.h"
#include "analysis/hmm_viterbi.h"
#include "document/blackboard.h"
#include "engine/language_module.h"
#include "engine/language_module_data.h"

namespace dez::trelix::core::hmm {

namespace {

const Resource* resource_of(Blackboard const& document) {
    const auto& module = document.language_module;
    if (!module || !module->data || !module->data->hmm)
        return nullptr;
    return module->data->hmm.get();
}

void tag(const Resource& resource, Sentence& sentence) {
    detail::CalculatePermutation window(&resource);
    hmm_build_candidates(sentence.annotations.head, nullptr, window);
    window.apply_viterbi_algo();
}

} // namespace

void detail::engine::execute(Blackboard const& document, AnnotationCollection& annotations) {
    const Resource* resource = resource_of(document);
    if (!resource)
        return;
    for (Annotation* a = annotations.head; a; a = a->next)
        if (a->type == annotation_sentence)
            tag(*resource, *static_cast<Sentence*>(a));
}

std::shared_ptr<EngineInterface> agent::create(Blackboard*) {
    return std::make_shared<detail::engine>();
}

bool can_execute(Blackboard& document) {
    const Resource* resource = resource_of(document);
    return resource && !resource->emission.empty();
}

bool execute(Blackboard& document) {
    if (document.annotations)
        get_store(document)->execute(document, *document.annotations);
    return true;
}

void sentence(Blackboard const& document, Sentence& sentence) {
    if (const Resource* resource = resource_of(document))
        tag(*resource, sentence);
}

std::shared_ptr<EngineInterface> get_store(Blackboard& document) {
    if (!document.hmm_store)
        document.hmm_store = std::make_shared<detail::engine>();
    return document.hmm_store;
}

} // namespace dez::trelix::core::hmm

#include "domain/remove_intermediate_concepts.h"

#include <algorithm>
#include <vector>

#include "document/blackboard.h"
#include "document/concept.h"
#include "document/end_annotation.h"

namespace dez::trelix {

namespace {

void remove_in_sentence(AnnotationCollection& list) {
    std::vector<Concept*> open;
    for (Annotation* a = list.head; a;) {
        Annotation* next = a->next;
        if (a->type == annotation_concept) {
            auto* c = static_cast<Concept*>(a);
            if (!c->uri.empty() && c->uri.front() == '$') {
                open.push_back(c);
                c->flags.set(Concept::to_delete);
            } else {
                for (Concept* intermediate : open)
                    remove_parent(c, intermediate);
            }
        } else if (a->type == annotation_end) {
            auto* marker = static_cast<EndAnnotation*>(a);
            auto& ending = marker->concepts;
            for (auto it = open.begin(); it != open.end();) {
                auto found = std::find(ending.begin(), ending.end(), *it);
                if (found == ending.end()) {
                    ++it;
                    continue;
                }
                ending.erase(found);
                // The marker may go below; the concept must not point at it.
                (*it)->end_annotation = nullptr;
                it = open.erase(it);
            }
            if (ending.empty()) {
                list.unlink(marker);
                delete marker;
            }
        }
        a = next;
    }
}

} // namespace

void remove_intermediate_concepts(Blackboard& blackboard) {
    if (!blackboard.annotations)
        return;
    for (Annotation* a = blackboard.annotations->head; a; a = a->next)
        if (a->type == annotation_sentence)
            remove_in_sentence(static_cast<Sentence*>(a)->annotations);
}

} // namespace dez::trelix

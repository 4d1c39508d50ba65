#include "domain/purge_deleted_concepts.h"

#include <vector>

#include "document/blackboard.h"
#include "document/concept.h"

namespace dez::trelix {

namespace {

bool is_gone(const Concept* c) {
    return c->flags.test(Concept::deleted) || c->flags.test(Concept::to_delete);
}

void drop_gone_parents(Annotation* a) {
    if (a->type != annotation_concept)
        return;
    auto* c = static_cast<Concept*>(a);
    if (!c->parents)
        return;
    std::vector<Concept*> gone;
    for (Concept* parent : *c->parents)
        if (is_gone(parent))
            gone.push_back(parent);
    for (Concept* parent : gone)
        remove_parent(c, parent);
}

} // namespace

void purge_deleted_concepts(Blackboard& blackboard) {
    if (!blackboard.annotations)
        return;
    AnnotationCollection& document = *blackboard.annotations;
    for (Annotation* a = document.head; a; a = a->next) {
        drop_gone_parents(a);
        if (a->type == annotation_sentence)
            for (Annotation* b = static_cast<Sentence*>(a)->annotations.head; b; b = b->next)
                drop_gone_parents(b);
    }
    for (Annotation* a = document.head; a; a = a->next) {
        if (a->type != annotation_sentence)
            continue;
        AnnotationCollection& list = static_cast<Sentence*>(a)->annotations;
        for (Annotation* b = list.head; b;) {
            Annotation* next = b->next;
            if (b->type == annotation_concept &&
                static_cast<Concept*>(b)->flags.test(Concept::to_delete)) {
                list.unlink(b);
                delete b;
            }
            b = next;
        }
    }
}

} // namespace dez::trelix

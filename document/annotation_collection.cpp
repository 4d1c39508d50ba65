#include "document/annotation_collection.h"

namespace dez::trelix {

AnnotationCollection::~AnnotationCollection() {
    clear();
}

void AnnotationCollection::clear() {
    while (head) {
        Annotation* first = head;
        unlink(first);
        delete first;
    }
}

} // namespace dez::trelix

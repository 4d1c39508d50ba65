#pragma once

#include <memory>

#include "annotation.h"
#include "raw_ptr_list.h"

namespace qvr::common {

// Destroys every annotation of a list of parsed sentences (a sentence takes
// its tokens and concepts with it) and leaves the list empty.
inline void destroy_sentences(RawPtrList<Annotation>& list) {
    while (Annotation* annotation = list.head) {
        list.unlink(annotation);
        delete annotation;
    }
}

// An empty list of parsed sentences that destroys its sentences with itself.
inline std::shared_ptr<RawPtrList<Annotation>> make_sentence_list() {
    return std::shared_ptr<RawPtrList<Annotation>>(new RawPtrList<Annotation>(),
                                                   [](RawPtrList<Annotation>* list) {
                                                       destroy_sentences(*list);
                                                       delete list;
                                                   });
}

} // namespace qvr::common

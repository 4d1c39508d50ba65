#pragma once

#include "document/annotation_collection.h"
#include "document/sentence.h"

namespace dez::trelix {

// A sentence with its own annotation list, as the Blackboard's sentence table
// holds it.
struct SentenceInfo {
    explicit SentenceInfo(Sentence* sentence)
        : sentence(sentence), annotations(sentence ? &sentence->annotations : nullptr) {}

    Sentence* sentence;
    AnnotationCollection* annotations;
};

} // namespace dez::trelix

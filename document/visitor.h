#pragma once

#include <string>

#include "document/annotation.h"
#include "document/annotation_collection.h"
#include "document/concept.h"
#include "document/end_annotation.h"
#include "document/end_of_stream.h"
#include "document/morph_data.h"
#include "document/sentence.h"
#include "document/token.h"

namespace dez::trelix {

// Base of every walk over an annotation list: hands each annotation to the
// handler of its kind in T. T writes `using Visitor<T>::visit;` and defines the
// `visit` handlers it needs; the others are the defaults below. A token handler
// answering true lets the walk go on into the token's readings and properties.
template <typename T> class Visitor {
public:
    // `self` is the derived object (passed in rather than cast here, since the
    // derived part does not exist yet while this base is built).
    explicit Visitor(T* self) : derived(self) {}
    virtual ~Visitor() = default;

    virtual bool visit(const AnnotationCollection& list) {
        for (const Annotation* a = list.head; a; a = a->next)
            dispatch(a);
        return true;
    }

    bool visit(const Annotation* annotation) {
        dispatch(annotation);
        return true;
    }

    // Default handlers. The sentence handler walks the sentence's own list.
    void visit(const Sentence& sentence) { derived->visit(sentence.annotations); }
    void visit(const Concept&) {}
    bool visit(const Token&) { return true; }
    void visit(const MorphData&) {}
    void visit(const std::string& /*property*/) {}
    void visit(const EndAnnotation&) {}
    void visit(const EndOfStream&) {}

protected:
    T* derived;

private:
    void dispatch(const Annotation* a) {
        switch (a->type) {
        case annotation_sentence:
            derived->visit(static_cast<const Sentence&>(*a));
            break;
        case annotation_concept:
            derived->visit(static_cast<const Concept&>(*a));
            break;
        case annotation_token: {
            const auto& token = static_cast<const Token&>(*a);
            if (derived->visit(token)) {
                for (const MorphData& reading : token.readings)
                    derived->visit(reading);
                for (const std::string& property : token.properties)
                    derived->visit(property);
            }
            break;
        }
        case annotation_end:
            derived->visit(static_cast<const EndAnnotation&>(*a));
            break;
        case annotation_end_of_stream:
            derived->visit(static_cast<const EndOfStream&>(*a));
            break;
        default:
            break;
        }
    }
};

} // namespace dez::trelix

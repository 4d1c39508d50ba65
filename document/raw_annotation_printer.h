#pragma once

#include <iosfwd>

#include "document/visitor.h"

namespace dez::trelix {

// Debug dump of annotations, one line per annotation (a token's readings
// follow on its line after line breaks). The stream stays the caller's.
class RawAnnotationPrinter : public Visitor<RawAnnotationPrinter> {
public:
    explicit RawAnnotationPrinter(std::ostream& out)
        : Visitor<RawAnnotationPrinter>(this), out(&out) {}
    ~RawAnnotationPrinter() override = default;

    using Visitor<RawAnnotationPrinter>::visit;

    void visit(const Sentence& sentence);
    void visit(const Concept& concept_);
    // Prints the readings itself and answers false.
    bool visit(const Token& token);
    void visit(const EndAnnotation& marker);
    void visit(const EndOfStream& end_of_stream);

    std::ostream* out;
};

// Dumps, to standard output, the annotations from `concept_` up to (not
// including) its end marker.
void print_annotaion_range(Concept* concept_);

} // namespace dez::trelix

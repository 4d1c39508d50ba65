#include "document/raw_annotation_printer.h"

#include <iostream>
#include <ostream>

namespace dez::trelix {

namespace {

// Offsets print as signed numbers.
int32_t signed_offset(uint32_t offset) {
    return static_cast<int32_t>(offset);
}

void print_reading(std::ostream& os, const MorphData& reading, int depth, const char* open,
                   const char* close) {
    os << '\n';
    for (int i = 0; i < depth; ++i)
        os << '\t';
    os << reading.stem << ':' << reading.pos << '(' << reading.pos_id << "),r=" << reading.weight;
    if (!reading.tags.empty()) {
        os << open;
        for (size_t i = 0; i < reading.tags.size(); ++i) {
            if (i)
                os << ", ";
            os << reading.tags[i];
        }
        os << close;
    }
    for (const MorphData& component : reading.components)
        print_reading(os, component, depth + 1, " ( ", " )");
}

} // namespace

void RawAnnotationPrinter::visit(const Sentence& sentence) {
    *out << "Sentence:(" << signed_offset(sentence.begin) << ',' << signed_offset(sentence.end)
         << ')' << std::endl;
    visit(sentence.annotations);
}

void RawAnnotationPrinter::visit(const Concept& concept_) {
    if (concept_.flags.test(Concept::deleted))
        *out << 'x';
    *out << " c(" << signed_offset(concept_.begin) << ',' << signed_offset(concept_.end) << ')';
    if (concept_.instance_index)
        *out << ", lid=" << *concept_.instance_index << ':';
    if (concept_.instance_key)
        *out << ", did=" << *concept_.instance_key << ':';
    *out << ':' << concept_.uri << " { " << print_verbose(concept_.attributes) << std::endl;
}

bool RawAnnotationPrinter::visit(const Token& token) {
    *out << "  t(" << signed_offset(token.begin) << ',' << signed_offset(token.end) << ") "
         << token.literal;
    if (token.readings.empty())
        *out << "\n\t{not-found}";
    for (const MorphData& reading : token.readings)
        print_reading(*out, reading, 1, " ((( ", " )))");
    if (!token.properties.empty()) {
        *out << " @(";
        for (const std::string& property : token.properties)
            *out << property << ", ";
        *out << ')';
    }
    *out << std::endl;
    return false;
}

void RawAnnotationPrinter::visit(const EndAnnotation& marker) {
    *out << " e(" << signed_offset(marker.begin) << ',' << signed_offset(marker.end) << "):";
    for (const Annotation* a : marker.concepts)
        *out << " }:" << static_cast<const Concept*>(a)->uri;
    *out << std::endl;
}

void RawAnnotationPrinter::visit(const EndOfStream& end_of_stream) {
    *out << " eos(" << signed_offset(end_of_stream.begin) << ',' << signed_offset(end_of_stream.end)
         << "):" << std::endl;
}

void print_annotaion_range(Concept* concept_) {
    if (!concept_)
        return;
    RawAnnotationPrinter printer(std::cout);
    const Annotation* stop = concept_->end_annotation;
    for (const Annotation* a = concept_; a && a != stop; a = a->next)
        printer.visit(a);
}

} // namespace dez::trelix

#pragma once

#include <cstddef>
#include <ostream>
#include <vector>

#include "annotation.h"
#include "concept.h"
#include "morph_data.h"
#include "sentence.h"
#include "token.h"

namespace qvr::common {

// The layout the annotation printers share: one line per sentence, concept
// and token, and a line closing the concepts that end with a token. T is the
// printer: it holds `out`, `line_pending` and `show_offsets` and the texts
// that set its form apart (uri_open, uri_close, attributes_open,
// attributes_close, literal_open, literal_close, reading_open, stem_close).
template <typename T> class Visitor {
public:
    explicit Visitor(T* self) : derived(self) {}
    virtual ~Visitor() = default;

    // A sentence prints itself and then its tokens and concepts.
    void visit(const Annotation* annotation) {
        switch (annotation->type) {
        case sentence_type:
            visit_sentence(static_cast<const Sentence&>(*annotation));
            break;
        case concept_type:
            visit_concept(static_cast<const Concept&>(*annotation));
            break;
        case token_type:
            visit_token(static_cast<const Token&>(*annotation));
            break;
        default:
            break;
        }
    }

protected:
    T* derived;
    // Printed concepts whose closing line is still to come, in opening order.
    std::vector<const Concept*> open_concepts;

private:
    std::ostream& out() { return *derived->out; }

    void line_break() { out() << std::endl; }

    void end_pending_line() {
        if (derived->line_pending)
            line_break();
        derived->line_pending = false;
    }

    void visit_sentence(const Sentence& sentence) {
        end_pending_line();
        out() << "s(" << sentence.begin << "," << sentence.end << ")";
        line_break();
        // A concept reaching past its sentence's last token is never closed.
        open_concepts.clear();
        for (const Annotation* annotation = sentence.annotations.head; annotation;
             annotation = annotation->next)
            visit(annotation);
    }

    void visit_concept(const Concept& concept_) {
        open_concepts.push_back(&concept_);
        end_pending_line();
        out() << "  "
              << " {" << T::uri_open << concept_.uri << T::uri_close;
        if (!concept_.attributes.empty()) {
            out() << " @ " << T::attributes_open;
            for (const auto& [name, value] : concept_.attributes)
                out() << name << "=" << value << "; ";
            out() << T::attributes_close;
        }
        line_break();
    }

    void visit_token(const Token& token) {
        end_pending_line();
        out() << "  "
              << "  ";
        if (derived->show_offsets)
            out() << "t(" << token.begin << "," << token.end << ") ";
        out() << T::literal_open << token.literal << T::literal_close << " ";
        if (!token.properties.empty()) {
            out() << "(";
            const char* separator = "";
            for (const std::string& property : token.properties) {
                out() << separator << property;
                separator = ", ";
            }
            out() << ")";
        }
        const char* separator = "";
        for (const MorphData& reading : token.readings) {
            out() << separator;
            write_reading(reading);
            separator = ", ";
        }
        line_break();

        // Innermost first: the concepts opened last close first.
        for (std::size_t i = open_concepts.size(); i-- > 0;) {
            const Concept* concept_ = open_concepts[i];
            if (concept_->end > token.end)
                continue;
            if (!derived->line_pending) {
                out() << "  ";
                derived->line_pending = true;
            }
            out() << " }" << concept_->uri;
            open_concepts.erase(open_concepts.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }

    void write_reading(const MorphData& reading) {
        out() << T::reading_open << reading.stem << T::stem_close << reading.pos;
        for (const std::string& tag : reading.tags)
            out() << ", +" << tag;
        if (!reading.components.empty()) {
            out() << " ";
            for (const MorphData& component : reading.components)
                write_reading(component);
        }
        out() << "]";
    }
};

} // namespace qvr::common

#pragma once

#include <ostream>

#include "visitor.h"

namespace qvr::common {

// Writes a parsed result as indented plain text: visit every sentence of
// the result in order, then destroy the printer, which ends the last line.
class AnnotationPrinter : public Visitor<AnnotationPrinter> {
public:
    AnnotationPrinter(std::ostream& stream, bool offsets)
        : Visitor<AnnotationPrinter>(this), out(&stream), show_offsets(offsets) {}
    ~AnnotationPrinter() override {
        if (line_pending)
            *out << std::endl;
    }
    AnnotationPrinter(const AnnotationPrinter&) = delete;
    AnnotationPrinter& operator=(const AnnotationPrinter&) = delete;

private:
    friend class Visitor<AnnotationPrinter>;

    static constexpr const char* uri_open = "";
    static constexpr const char* uri_close = "";
    static constexpr const char* attributes_open = "";
    static constexpr const char* attributes_close = "";
    static constexpr const char* literal_open = "\"";
    static constexpr const char* literal_close = "\"";
    static constexpr const char* reading_open = "['";
    static constexpr const char* stem_close = "':";

    std::ostream* out;
    // A closing line has been written and still needs its line break.
    bool line_pending = false;
    bool show_offsets;
};

} // namespace qvr::common

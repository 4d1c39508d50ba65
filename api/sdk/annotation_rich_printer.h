#pragma once

#include <ostream>

#include "visitor.h"

namespace qvr::common {

// The layout of AnnotationPrinter with markup tags around the uri, the
// attributes, the literal and each stem.
class AnnotationRichPrinter : public Visitor<AnnotationRichPrinter> {
public:
    AnnotationRichPrinter(std::ostream& stream, bool offsets)
        : Visitor<AnnotationRichPrinter>(this), out(&stream), show_offsets(offsets) {}
    ~AnnotationRichPrinter() override {
        if (line_pending)
            *out << std::endl;
    }
    AnnotationRichPrinter(const AnnotationRichPrinter&) = delete;
    AnnotationRichPrinter& operator=(const AnnotationRichPrinter&) = delete;

private:
    friend class Visitor<AnnotationRichPrinter>;

    static constexpr const char* uri_open = "<uri>";
    static constexpr const char* uri_close = "</uri>";
    static constexpr const char* attributes_open = "<default>";
    static constexpr const char* attributes_close = "</default>";
    static constexpr const char* literal_open = "\"<literal>";
    static constexpr const char* literal_close = "</literal>\"";
    static constexpr const char* reading_open = "['<stem>";
    static constexpr const char* stem_close = "</stem>':";

    std::ostream* out;
    // A closing line has been written and still needs its line break.
    bool line_pending = false;
    bool show_offsets;
};

} // namespace qvr::common

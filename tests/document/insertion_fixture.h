#pragma once

// A document of one sentence of single-letter words with a current domain,
// and a compact picture of its annotation list, for the concept-insertion
// tests.

#include <memory>
#include <string>

#include "document/blackboard.h"
#include "document/concept.h"
#include "document/end_annotation.h"
#include "document/i_add_concept.h"
#include "domain/domain_facade.h"
#include "tests/document/blackboard_fixture.h"

namespace dez::trelix::fixture {

struct InsertionDocument {
    explicit InsertionDocument(const char* analyzer_options = "{}",
                               const char* document_options = "{}",
                               const std::string& text = "a b c d e f g h")
        : analyzer(analyzer_options), document(make_blackboard(analyzer, document_options)),
          domain(std::make_shared<DomainFacade>("/data/x/y/test.dom")) {
        document->set_text(text.data(), text.size());
        sentence = add_sentence(*document, text);
        document->set_current_domain(domain);
    }

    // A match over the tokens first..last (0-based), its end being the
    // annotation after the last token.
    Concept* add(size_t first, size_t last, const std::string& uri,
                 const std::string& attributes = "", Concept* parent = nullptr,
                 const std::string& rule_id = "rules:7") {
        Token* from = token_at(*sentence, first);
        Token* to = token_at(*sentence, last);
        return (*document->collector)(RawPtrIterator(from), RawPtrIterator(to->next), uri,
                                      attributes, parent, rule_id);
    }

    // "Sentence(0,15) a U(2,5) b c e5[U] d ..." with 'x' before a deleted
    // concept and the uris an end marker holds in brackets.
    std::string layout() const {
        std::string out;
        for (const Annotation* a = sentence->annotations.head; a; a = a->next) {
            if (!out.empty())
                out += ' ';
            switch (a->type) {
            case annotation_concept: {
                const auto* c = static_cast<const Concept*>(a);
                if (c->flags.test(Concept::deleted))
                    out += 'x';
                out += c->uri + '(' + std::to_string(c->begin) + ',' + std::to_string(c->end) +
                       ')';
                break;
            }
            case annotation_token:
                out += static_cast<const Token*>(a)->literal;
                break;
            case annotation_end: {
                out += 'e' + std::to_string(a->begin) + '[';
                const auto& ending = static_cast<const EndAnnotation*>(a)->concepts;
                for (size_t i = 0; i < ending.size(); ++i)
                    out += (i ? "," : "") + static_cast<const Concept*>(ending[i])->uri;
                out += ']';
                break;
            }
            default:
                out += "eos";
            }
        }
        return out;
    }

    TestAnalyzer analyzer;
    std::unique_ptr<Blackboard> document;
    std::shared_ptr<DomainFacade> domain;
    Sentence* sentence = nullptr;
};

} // namespace dez::trelix::fixture

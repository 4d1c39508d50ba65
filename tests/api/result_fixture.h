#pragma once

// Documents for the result writers and the result calls: built directly in
// the document model (no analysis), wrapped in a result handle.

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/offset_table.h"
#include "api/blackboard.h"
#include "api/stream_internal_results_json_format.h"
#include "api/stream_json_api_format.h"
#include "document/blackboard.h"
#include "tests/document/blackboard_fixture.h"

namespace dez::trelix::fixture {

// A result handle over a document of the test analyzer; the text gets its
// offset table as the analysis would give it.
struct TestResult {
    explicit TestResult(const char* document_options = "{}", const char* analyzer_options = "{}",
                        const std::string& text = std::string())
        : analyzer(analyzer_options),
          handle(new dez::api::Blackboard(&analyzer.handle, options(document_options), nullptr, 0)),
          document(*handle->blackboard) {
        document.language = "english";
        if (!text.empty()) {
            document.set_text(text.data(), text.size());
            document.offset_table =
                generate_offset_mappings(document.text, static_cast<int>(text.size()));
        }
    }
    ~TestResult() {
        if (handle)
            delete handle;
    }
    dez_object* object() { return handle; }

    // Appends a sentence with these tokens to the document and its table.
    Sentence* sentence(const std::vector<TokenDef>& tokens) {
        Sentence* s = make_sentence(tokens);
        document.annotations->push_back(s);
        document.sentences.emplace_back(s->begin, SentenceInfo(s));
        return s;
    }

    TestAnalyzer analyzer;
    dez::api::Blackboard* handle;
    Blackboard& document;
};

// The sentence of the format's example: "Hi Paris." with its readings and
// an imported City concept over "Paris".
inline Concept* example_sentence(TestResult& result) {
    Sentence* s = result.sentence({{"Hi", 0, 2}, {"Paris", 3, 8}, {".", 8, 9}});
    token_at(*s, 0)->readings.emplace_back("Interj", "hi", 1.0);
    Token* paris = token_at(*s, 1);
    paris->readings.emplace_back("Prop-Std", "Paris", 1.0);
    paris->properties.insert("init-cap");
    token_at(*s, 2)->readings.emplace_back("Punct-Sent", ".", 1.0);
    Concept* city = add_concept(*s, paris, paris, "City");
    city->add("country", "fr");
    city->flags.set(Concept::import);
    return city;
}

inline std::string v2_of(Blackboard& document) {
    std::ostringstream out;
    stream_json_api_format(document, out);
    return out.str();
}

inline std::string internal_of(Blackboard& document) {
    std::ostringstream out;
    stream_internal_results_json_format(document, out);
    return out.str();
}

} // namespace dez::trelix::fixture

#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <set>
#include <string>

#include "analysis/analyzer_interface.h"
#include "foundation/options.h"

namespace dez::trelix {

class Blackboard;
class EngineInterface;
class LanguageModule;

namespace instances::long_term {
class Store;
}

// The per-language driver of analyses: made once from an engine, a language
// module and the analyzer options, then used for any number of documents.
// Immutable after construction, so several threads may analyse different
// documents with it at once. Always owned by a shared pointer.
class Analyzer : public dez::api::AnalyzerInterface, public std::enable_shared_from_this<Analyzer> {
public:
    // Reads the analyzer options; they may be null (every default applies).
    Analyzer(std::shared_ptr<EngineInterface> engine,
             std::shared_ptr<LanguageModule> language_module,
             std::shared_ptr<dez::IOptions> options);
    ~Analyzer() override;

    // An analyzer option; empty when absent.
    std::string option(const char* key) const;
    std::string option(const std::string& key) const;
    std::string option(const char* key, const char* default_value) const;
    // The language module's `.language` path; empty without one.
    const std::string& filename() const;

    // Analyses one document by its option "input_type": "text" (or empty),
    // "document" (readings for the annotations it holds) or "json" (a v2
    // result read back). False only when the open hook answers "false";
    // once the document is open, the close hook runs on every way out.
    // Invalid UTF-8 fails with "Invalid utf8 character.", a text of 2 GiB or
    // more with a dez::Exception naming the limit.
    bool generate(Blackboard& document, const char* text, size_t length);
    // Runs the reading steps again over the annotations already on the
    // document (the conditional second lexicon pass, disambiguation, HMM).
    bool generate(Blackboard& document);
    // Splits, tokenizes, attaches readings and repairs sentences.
    void text_to_annotations(Blackboard& document, const char* text, size_t length);
    // The splitter: the option "sentyziser", else the language's
    // configuration, else "3"; "icu" selects ICU's sentence iterator.
    std::string get_sentyziser_option(Blackboard& document);
    // The option "tokenizer_locale", else the language's configuration.
    std::string get_tokenizer_locale(Blackboard& document);

    // The text splitter's road (text_sentence_splitter.cpp).
    void text_to_annotations_v2(Blackboard& document, const char* text, size_t length);
    // The ICU sentence iterator's road (text_to_annotations_icu.cpp).
    void text_to_annotations_icu(Blackboard& document, const char* text, size_t length);

    std::shared_ptr<dez::IOptions> options;
    std::shared_ptr<EngineInterface> engine;
    std::shared_ptr<LanguageModule> language_module;
    std::shared_ptr<instances::long_term::Store> long_term_store;
    // Debug flag names of the option "dbg".
    std::set<std::string> dbg_options;
    std::string resolve_formated_attribute_function;
    std::string set_document_date_function;
    std::string resolve_date_function;
    bool allow_plugins = true;
    // Bit 0: option "unknown_things".
    uint64_t flags = 0;
};

// The open hook: calls the plugin function the document option
// "open_document" names with the document id (option "id", else "none").
// False only when the plugin answers "false"; true without plugins or uri.
bool open_document(Blackboard& document);
// The close hook, option "close_document"; the answer is not used.
void close_document(Blackboard& document);
// Lets the plugins prepare ("::python::trelix.plugin::warmup").
void warm_up_plugin(EngineInterface* engine);

} // namespace dez::trelix

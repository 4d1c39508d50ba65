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

// The per-language driver of analyses. So far it holds what documents read
// of it; the analysis work adds the long-term instance store, `generate` and
// the document hooks.
class Analyzer : public dez::api::AnalyzerInterface, public std::enable_shared_from_this<Analyzer> {
public:
    // Reads the analyzer options; they may be null (every default applies).
    Analyzer(std::shared_ptr<EngineInterface> engine,
             std::shared_ptr<LanguageModule> language_module,
             std::shared_ptr<dez::IOptions> options);
    ~Analyzer() override;

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

} // namespace dez::trelix

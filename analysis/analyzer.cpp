#include "analysis/analyzer.h"

#include <iostream>
#include <limits>
#include <sstream>
#include <vector>

#include <nlohmann/json.hpp>
#include <utf8.h>

#include "analysis/debug_flags.h"
#include "analysis/dictionary_lookup.h"
#include "analysis/disambiguation.h"
#include "analysis/hmm_tagger.h"
#include "analysis/morph_data.h"
#include "analysis/offset_table.h"
#include "analysis/option_collection.h"
#include "analysis/option_keys.h"
#include "analysis/result_import.h"
#include "analysis/sentence_repair.h"
#include "document/blackboard.h"
#include "document/raw_annotation_printer.h"
#include "engine/engine_interface.h"
#include "engine/language_module.h"
#include "engine/language_module_data.h"
#include "foundation/exception.h"
#include "foundation/logger.h"
#include "matcher/plugin_calls.h"

namespace dez::trelix {

namespace {

std::string option(const std::shared_ptr<dez::IOptions>& options, const char* key,
                   const char* default_value) {
    return options ? options->get(key, default_value) : std::string(default_value);
}

// A top-level text of the language's configuration, "" when absent.
std::string config_option(const LanguageModule* module, const char* key) {
    return module && module->data ? module->data->get_config_option(key) : std::string();
}

// The value of a document-only option ("input_type", the hook uris, "id").
bool document_option(const Blackboard& document, const char* key, std::string& value) {
    if (!document.options || !document.options->has(key))
        return false;
    value = document.options->get(key);
    return true;
}

// Closes the document on every way out once it is open: an early return or
// a failure must not leave the plugins with a document that never ends.
class DocumentCloser {
public:
    explicit DocumentCloser(Blackboard& document) : document(document) {}
    ~DocumentCloser() {
        if (!open)
            return;
        try {
            close_document(document);
        } catch (const std::exception& e) {
            // Another failure is on its way out; it is the one to report.
            TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_error,
                       "close_document failed: " << e.what());
        }
    }
    DocumentCloser(const DocumentCloser&) = delete;
    DocumentCloser& operator=(const DocumentCloser&) = delete;

    // On the regular way out a failing close hook is the caller's to see.
    void close() {
        open = false;
        close_document(document);
    }

private:
    Blackboard& document;
    bool open = true;
};

// Disambiguation when the language has a postagger, then the HMM tagger.
void narrow_readings(Blackboard& document) {
    const OptionAnywhere& options = *document.option_anywhere;
    if (document.lookup_chains && document.lookup_chains->postagger &&
        options.get_bool("disambiguate", true)) {
        auto_disambiguate(document);
        disambiguate(document);
    }
    if (options.get_bool("hmm", true) && core::hmm::can_execute(document))
        core::hmm::execute(document);
}

void print_annotations(const Analyzer& analyzer, const Blackboard& document) {
    if (!analyzer.dbg_options.count(debug_flag::print_annotations))
        return;
    RawAnnotationPrinter printer(std::cout);
    printer.visit(*document.annotations);
}

void check_text(const char* text, size_t length) {
    if (length > static_cast<size_t>(std::numeric_limits<int32_t>::max())) {
        std::ostringstream message;
        message << "Text too long: " << length << " bytes, the limit is "
                << std::numeric_limits<int32_t>::max() << " bytes.";
        throw dez::Exception(message);
    }
    if (!text && length > 0) {
        std::ostringstream message;
        message << "No text given for a length of " << length << " bytes.";
        throw dez::Exception(message);
    }
}

// The UTF-8 decoder's failures, met anywhere in an analysis, as the
// library's own error.
template <typename Run> bool checking_utf8(Run run) {
    try {
        return run();
    } catch (const utf8::exception&) {
        throw dez::Exception("Invalid utf8 character.");
    }
}

} // namespace

Analyzer::Analyzer(std::shared_ptr<EngineInterface> engine,
                   std::shared_ptr<LanguageModule> language_module,
                   std::shared_ptr<dez::IOptions> options)
    : options(std::move(options)), engine(std::move(engine)),
      language_module(std::move(language_module)) {
    // The cross-document instance store (discourse work) is made here with
    // instances::long_term::create_store(engine, options); until it lands no
    // analyzer has one.
    dez::args::parse_option_collection(dbg_options, this->options, "dbg", "");
    allow_plugins = this->options ? this->options->get_bool("allow_plugins", true) : true;
    resolve_formated_attribute_function =
        dez::trelix::option(this->options, "resolve_formated_attribute_function",
                            "::python::trelix.plugin::resolve_formated_attribute");
    set_document_date_function = dez::trelix::option(this->options, "set_document_date_function",
                                                     "::python::trelix.plugin::set_document_date");
    resolve_date_function = dez::trelix::option(this->options, "resolve_date_function",
                                                "::python::trelix.plugin::resolve_date");
    if (this->options && this->options->get_bool("unknown_things", false))
        flags |= 1;
    TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_debug,
               "[Language] Options: [" << (this->options ? this->options->str() : std::string())
                                       << "]");
}

Analyzer::~Analyzer() = default;

std::string Analyzer::option(const char* key) const {
    return options ? options->get(key) : std::string();
}

std::string Analyzer::option(const std::string& key) const {
    return option(key.c_str());
}

std::string Analyzer::option(const char* key, const char* default_value) const {
    return dez::trelix::option(options, key, default_value);
}

const std::string& Analyzer::filename() const {
    static const std::string none;
    return language_module && language_module->data ? language_module->data->config_filename : none;
}

bool Analyzer::generate(Blackboard& document, const char* text, size_t length) {
    return checking_utf8([&] {
        document.set_analyzer(shared_from_this());
        if (!open_document(document))
            return false;
        DocumentCloser closer(document);

        std::string input_type;
        document_option(document, "input_type", input_type);
        if (input_type.empty() || input_type == "text") {
            if (!document.language_module) {
                closer.close();
                return true;
            }
            check_text(text, length);
            // The document keeps its own copy; everything after reads that.
            document.set_text(text, length);
            document.offset_table =
                generate_offset_mappings(document.text, static_cast<int>(length));
            text_to_annotations(document, document.text, length);
            narrow_readings(document);
        } else if (input_type == "document") {
            add_dictionary_lookup_information(document);
        } else if (input_type == "json") {
            json_to_annotations_v2(document, text, length);
            // What generate(document) does, within this one open document.
            additional_dictionary_lookup_information(document);
            narrow_readings(document);
        } else {
            throw dez::Exception("Input type not supported: [text,json]");
        }

        closer.close();
        print_annotations(*this, document);
        return true;
    });
}

bool Analyzer::generate(Blackboard& document) {
    return checking_utf8([&] {
        document.set_analyzer(shared_from_this());
        if (!open_document(document))
            return false;
        DocumentCloser closer(document);
        TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_trace, "BEGIN process document");
        additional_dictionary_lookup_information(document);
        narrow_readings(document);
        closer.close();
        print_annotations(*this, document);
        return true;
    });
}

void Analyzer::text_to_annotations(Blackboard& document, const char* text, size_t length) {
    if (get_sentyziser_option(document) == "icu")
        text_to_annotations_icu(document, text, length);
    else
        text_to_annotations_v2(document, text, length);
    add_dictionary_lookup_information(document);
    fix_sentences(&document);
}

std::string Analyzer::get_sentyziser_option(Blackboard& document) {
    if (document.option_anywhere->has("sentyziser"))
        return document.option_anywhere->get("sentyziser");
    if (language_module && language_module->data)
        return config_option(language_module.get(), "sentyziser");
    return "3";
}

std::string Analyzer::get_tokenizer_locale(Blackboard& document) {
    if (document.option_anywhere->has("tokenizer_locale"))
        return document.option_anywhere->get("tokenizer_locale");
    return config_option(language_module.get(), "tokenizer_locale");
}

namespace {

// The hook uri of `key` and the argument list, or false when the hook does
// not run (plugins not allowed, or no uri).
bool hook(const Blackboard& document, const char* key, std::string& uri, std::string& id) {
    const bool allowed =
        document.analyzer ? document.analyzer->allow_plugins : document.allow_plugins();
    if (!allowed || !document_option(document, key, uri))
        return false;
    if (!document_option(document, option_key::id, id))
        id = "none";
    return true;
}

} // namespace

bool open_document(Blackboard& document) {
    std::string uri, id;
    if (!hook(document, "open_document", uri, id))
        return true;
    const std::vector<plugins::DataObject> arguments{{1, id.c_str()}};
    return plugins::open_document(document.engine(), uri, arguments) != "false";
}

void close_document(Blackboard& document) {
    std::string uri, id;
    if (!hook(document, "close_document", uri, id))
        return;
    const std::vector<plugins::DataObject> arguments{{1, id.c_str()}};
    plugins::close_document(document.engine(), uri, arguments);
}

void warm_up_plugin(EngineInterface* engine) {
    plugins::call(engine, "::python::trelix.plugin::warmup");
}

} // namespace dez::trelix

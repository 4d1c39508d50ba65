#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "document/abbreviation_range.h"
#include "document/annotation_collection.h"
#include "document/blackboard_interface.h"
#include "document/blackboard_options.h"
#include "document/dbg_options_wrapper.h"
#include "document/option_anywhere.h"
#include "document/sentence.h"
#include "document/sentence_info.h"
#include "foundation/options.h"

namespace dez {
class Regex;
}

namespace dez::api {
class Analyzer;
}

namespace dez::trelix {

class Analyzer;
class AnalyzerGuard;
class DomainFacade;
class EngineInterface;
class IAddConcept;
class LanguageModule;
class LookupCache;
class MementoStore;
class TokenizerFacade;
struct OffsetTable;

namespace anaphora {
class Store;
}
namespace conjecture {
class Conjector;
}
namespace core {
class ILookup;
class MorphData;
namespace hmm {
class EngineInterface;
}
} // namespace core
namespace instances {
class Instance;
class IStore;
} // namespace instances
namespace plugins {
class PluginCollection;
}
namespace profiler {
class Profiler;
class ProfilerInterface;
} // namespace profiler
namespace runtime {
struct Context;
}

// A rule action postponed to the end of a domain run, with its context.
using DelayedFunction =
    std::pair<std::function<std::string(const runtime::Context&)>, runtime::Context>;

// Everything one analysed document owns or points at. Members are built in
// the order written and released in the reverse order. Serves one thread at
// a time; nothing is locked.
class Blackboard : public dez::api::BlackboardInterface {
public:
    // Takes shared ownership of the handle's analyzer (std::bad_weak_ptr when
    // it is gone). The text is not stored here: the analyzer hands it over
    // with set_text when it analyses it.
    Blackboard(dez::api::Analyzer* analyzer_handle, const std::shared_ptr<dez::IOptions>& options,
               const char* text, unsigned long length);
    // Tells the plugins first, then releases the members.
    ~Blackboard() override;
    Blackboard(const Blackboard&) = delete;
    Blackboard& operator=(const Blackboard&) = delete;

    // Keeps a copy of the text: the caller may free its buffer as soon as the
    // analysis call returns, while the tokenizer, id() and the line-break test
    // read the text later.
    void set_text(const char* text, std::size_t length);

    // The analyzer, its engine and its language module.
    void set_analyzer(std::shared_ptr<Analyzer> analyzer);
    // Rebuilds the lookup objects, the tokenizer and the language's
    // expressions; a null module only drops the tokenizer and expressions.
    void set_languge_module(const std::shared_ptr<LanguageModule>& module);
    // Switches the document to another language. The option "language" is
    // written into the document's own copy of its options, never into an
    // options object the caller or other documents may share.
    void set_language(const std::string& name);
    // Adds or replaces an option in the document's own copy of its options,
    // for the same reason.
    void set_own_option(const std::string& key, const std::string& value);
    // Every value set under a key is kept, in order, in an array.
    void set_metadata(const std::string& key, const nlohmann::json& value);
    // True once per name and document.
    bool can_run_lexicon(const std::string& name) const;

    bool allow_plugins() const;
    const EngineInterface* engine() const;
    // The analyzer guard keeps the analyzer alive.
    void release_analyzer();
    // "file:/" + source file + rule id from its first ':' when the rule's
    // file is known; unchanged with rule_info_short.
    std::string full_rule_name(const std::string& rule_id) const;
    // The option "id", else the decimal djb2 hash of the text.
    std::string id() const;
    // dez::Exception without offset table.
    uint32_t get_byte_offset(uint32_t offset) const;
    // With rule_info, also learns the rule files of the domain's ".dom_inc".
    void set_current_domain(const std::shared_ptr<DomainFacade>& domain);
    // The profiler as the analysis passes report to it; null without one.
    profiler::ProfilerInterface* profiling() const;

    // The analyzer's engine; engine() hands it out.
    std::shared_ptr<EngineInterface> engine_ptr;
    std::shared_ptr<Analyzer> analyzer;
    std::shared_ptr<AnalyzerGuard> analyzer_guard;
    std::shared_ptr<dez::IOptions> options;
    std::shared_ptr<OptionAnywhere> option_anywhere;
    dbg_options_wrapper dbg_options;
    BlackboardOptions blackboard_options;
    std::shared_ptr<AnnotationCollection> annotations;
    std::string language;
    std::shared_ptr<LanguageModule> language_module;
    // The domains run on the document, in run order.
    std::vector<std::pair<std::string, std::shared_ptr<DomainFacade>>> domains;
    std::shared_ptr<DomainFacade> current_domain;
    std::shared_ptr<TokenizerFacade> tokenizer;
    // Where rule matches become concepts; made by the concept insertion work.
    std::shared_ptr<IAddConcept> collector;
    std::shared_ptr<dez::trelix::conjecture::Conjector> conjecture;
    // (begin offset, sentence) in text order, one per kept sentence.
    std::vector<std::pair<uint32_t, SentenceInfo>> sentences;
    std::string result_json;
    std::string metadata_json;
    std::vector<DelayedFunction> delayed_functions;
    std::shared_ptr<dez::Regex> abbreviations;
    std::shared_ptr<dez::Regex> apostrophes;
    std::shared_ptr<dez::Regex> measures;
    std::shared_ptr<dez::trelix::profiler::Profiler> profiler;
    std::shared_ptr<instances::IStore> short_term_store;
    std::map<std::string, std::shared_ptr<instances::Instance>> long_term_instances;
    std::shared_ptr<anaphora::Store> anaphora_store;
    std::shared_ptr<core::hmm::EngineInterface> hmm_store;
    std::shared_ptr<LookupCache> lookup_cache;
    std::deque<AbbreviationRange> abbreviation_ranges;
    std::string genitive_form;
    std::shared_ptr<OffsetTable> offset_table;
    std::map<std::string, std::string> document_properties;
    std::set<std::string> domains_done;
    mutable std::set<std::string> lexicons_run;
    // The document's own copy of the text, which `text` points into.
    std::string text_copy;
    const char* text = nullptr;
    bool plugin_document_open = false;
    std::set<std::string> properties_passed;
    uint64_t text_length = 0;
    std::shared_ptr<MementoStore> memento_store;
    // Rule-file id to source file name.
    std::map<std::string, std::string> rule_files;
    std::shared_ptr<nlohmann::json> metadata;
    std::shared_ptr<dez::trelix::plugins::PluginCollection> plugins;
    std::shared_ptr<core::MorphData> lookup_chains;
    std::map<std::string, std::vector<std::shared_ptr<core::ILookup>>> named_lookups;
    // Per-document objects other parts make on first use, by name.
    std::map<std::string, std::shared_ptr<void>> properties;
};

// The analyzer behind a public analyzer handle; std::bad_weak_ptr when it is
// gone.
std::shared_ptr<Analyzer> get_analyzer(dez::api::Analyzer* handle);

// The entry of the sentence holding the offset (the last one beginning at or
// before it); offset 0 gives the first entry. Null before the first sentence
// and for an empty table.
SentenceInfo* get_sentence(const Blackboard& blackboard, uint32_t offset);

// n sentences on from `sentence`. A move past the end stops at the document's
// last sentence; any other move out of the document gives its first.
Sentence* move_to_sentence(Blackboard& blackboard, Sentence* sentence, int n);

} // namespace dez::trelix

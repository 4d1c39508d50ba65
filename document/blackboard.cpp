#include "document/blackboard.h"

#include <algorithm>
#include <iterator>

#include <nlohmann/json.hpp>

#include "analysis/analyzer.h"
#include "analysis/analyzer_guard.h"
#include "analysis/lookup.h"
#include "analysis/lookup_cache.h"
#include "analysis/lookup_chain_factory.h"
#include "analysis/morph_data.h"
#include "analysis/morph_data_descriptor.h"
#include "analysis/offset_table.h"
#include "analysis/tokenizer_facade.h"
#include "api/analyzer.h"
#include "api/profiler.h"
#include "discourse/short_term_store.h"
#include "document/annotation_navigation.h"
#include "document/create_collector.h"
#include "document/rule_file_names.h"
#include "domain/domain_facade.h"
#include "engine/engine_interface.h"
#include "engine/language_module.h"
#include "engine/language_module_data.h"
#include "foundation/exception.h"
#include "foundation/language_table.h"
#include "foundation/logger.h"
#include "foundation/regex.h"
#include "matcher/plugin_calls.h"
#include "matcher/runtime_context.h"

namespace dez::trelix {

std::shared_ptr<Analyzer> get_analyzer(dez::api::Analyzer* handle) {
    if (!handle || !handle->analyzer)
        throw std::bad_weak_ptr();
    return handle->analyzer->shared_from_this();
}

Blackboard::Blackboard(dez::api::Analyzer* analyzer_handle,
                       const std::shared_ptr<dez::IOptions>& options, const char* /*text*/,
                       unsigned long /*length*/)
    : analyzer(get_analyzer(analyzer_handle)),
      analyzer_guard(std::make_shared<AnalyzerGuard>(analyzer)), options(options),
      option_anywhere(std::make_shared<OptionAnywhere>(*this)), dbg_options(analyzer.get()),
      blackboard_options(*this), annotations(std::make_shared<AnnotationCollection>()) {
    short_term_store = instances::short_term::create_store(*this);
    lookup_cache = std::make_shared<LookupCache>();
    if (analyzer->engine)
        plugins = analyzer->engine->get_plugins_ptr();

    TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_trace,
               "[Blackboard] Options" << (options ? options->str() : std::string()));

    if (option_anywhere->get_bool("profiler", false))
        profiler = std::make_shared<dez::trelix::profiler::Profiler>();

    if (!option_anywhere->has("detect_headers")) {
        const LanguageModule* module = analyzer->language_module.get();
        if (module && module->data)
            blackboard_options.detect_headers = module->data->detect_headers;
    }
    // Last: the inserter reads the debug flags and the profiler set above.
    collector = create_collector(*this);
}

Blackboard::~Blackboard() {
    try {
        dez::trelix::plugins::release_document(*this);
    } catch (const std::exception& e) {
        // A destructor cannot pass the plugin's failure on.
        TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_error,
                   "release_document failed: " << e.what());
    }
}

void Blackboard::set_text(const char* text, std::size_t length) {
    text_copy.assign(text ? text : "", text ? length : 0);
    this->text = text_copy.c_str();
    text_length = text_copy.size();
}

void Blackboard::set_analyzer(std::shared_ptr<Analyzer> analyzer) {
    this->analyzer = std::move(analyzer);
    engine_ptr = this->analyzer ? this->analyzer->engine : nullptr;
    set_languge_module(this->analyzer ? this->analyzer->language_module : nullptr);
}

void Blackboard::set_languge_module(const std::shared_ptr<LanguageModule>& module) {
    language_module = module;
    if (!module) {
        tokenizer.reset();
        abbreviations.reset();
        apostrophes.reset();
        measures.reset();
        return;
    }
    if (language.empty())
        language = module->name;

    static const std::vector<core::MorphDataDescriptor> no_descriptors;
    static const std::map<std::string, std::vector<core::MorphDataDescriptor>> no_named;
    const LanguageModuleData* data = module->data.get();

    // Answers of the previous module's steps are of no further use.
    lookup_cache->clear();
    lookup_chains = std::make_shared<core::MorphData>();
    lookup_chains->chain =
        create_lookup_chain_from_descriptors(data ? data->morph_chain : no_descriptors, this);
    named_lookups =
        create_named_lookup_from_descriptors(data ? data->property_chains : no_named, this);

    const Analyzer* current =
        this->analyzer ? this->analyzer.get() : analyzer_guard->analyzer.get();
    const bool guesser =
        !current || !current->options || current->options->get_bool("guesser", true);
    if (guesser)
        lookup_chains->guessers = create_lookup_chain_from_descriptors(
            data ? data->not_found_chain : no_descriptors, this);
    lookup_chains->postagger = data ? data->postagger : nullptr;

    tokenizer = module->get_tokenizer();
    abbreviations = module->get_abbreviations();
    apostrophes = module->get_apostrophes();
    measures = module->get_measures();
}

void Blackboard::set_language(const std::string& name) {
    if (name == language)
        return;

    set_own_option("language", name);
    language = name;
    genitive_form = dez::language::get_genitive_form(name);
    // Before set_analyzer the document has no engine to ask. An empty name
    // (a result read back without a language) selects no module, and an
    // engine would refuse it: the document keeps the module it has.
    if (engine_ptr && !name.empty())
        set_languge_module(engine_ptr->get_language_module(options));
}

void Blackboard::set_own_option(const std::string& key, const std::string& value) {
    std::shared_ptr<dez::IOptions> own;
    if (auto* bag = dynamic_cast<const dez::Options*>(options.get()))
        own.reset(bag->clone());
    else if (options && !options->str().empty())
        own = dez::convert_string_to_api_options(options->str());
    else
        own = std::make_shared<dez::Options>();
    own->add(key, value);
    options = own;
}

void Blackboard::set_metadata(const std::string& key, const nlohmann::json& value) {
    if (!metadata)
        metadata = std::make_shared<nlohmann::json>();
    nlohmann::json& data = *metadata;
    if (data.is_object() && data.contains(key))
        data[key].push_back(value);
    else
        data[key] = nlohmann::json::array({value});
}

bool Blackboard::can_run_lexicon(const std::string& name) const {
    return lexicons_run.insert(name).second;
}

bool Blackboard::allow_plugins() const {
    return analyzer_guard && analyzer_guard->analyzer && analyzer_guard->analyzer->allow_plugins;
}

const EngineInterface* Blackboard::engine() const {
    return engine_ptr.get();
}

void Blackboard::release_analyzer() {
    analyzer.reset();
}

std::string Blackboard::full_rule_name(const std::string& rule_id) const {
    if (blackboard_options.rule_info_short)
        return rule_id;
    const std::size_t colon = rule_id.find(':');
    auto found = rule_files.find(rule_id.substr(0, colon));
    if (found == rule_files.end())
        return rule_id;
    return "file:/" + found->second + (colon == std::string::npos ? "" : rule_id.substr(colon));
}

std::string Blackboard::id() const {
    std::string from_options = option_anywhere->get("id");
    if (!from_options.empty())
        return from_options;
    uint64_t hash = 5381;
    for (const char* at = text; at && *at; ++at)
        hash = hash * 33 + static_cast<unsigned char>(*at);
    return std::to_string(hash);
}

uint32_t Blackboard::get_byte_offset(uint32_t offset) const {
    if (!offset_table)
        throw dez::Exception("unkown unicode offset mapping");
    return from_unicode_2_utf8_offset(offset_table.get(), offset);
}

void Blackboard::set_current_domain(const std::shared_ptr<DomainFacade>& domain) {
    current_domain = domain;
    if (!blackboard_options.rule_info || !domain || domain->get_sqlite_filename().empty())
        return;
    for (const auto& [file_id, file_name] : rule_file_names(domain->get_sqlite_filename()))
        rule_files.emplace(file_id, file_name);
}

profiler::ProfilerInterface* Blackboard::profiling() const {
    return profiler.get();
}

SentenceInfo* get_sentence(const Blackboard& blackboard, uint32_t offset) {
    auto& table = const_cast<Blackboard&>(blackboard).sentences;
    if (table.empty())
        return nullptr;
    if (offset == 0)
        return &table.front().second;
    auto after =
        std::upper_bound(table.begin(), table.end(), offset,
                         [](uint32_t value, const std::pair<uint32_t, SentenceInfo>& entry) {
                             return value < entry.first;
                         });
    if (after == table.begin())
        return nullptr;
    return &std::prev(after)->second;
}

Sentence* move_to_sentence(Blackboard& blackboard, Sentence* sentence, int n) {
    if (Sentence* moved = move_to_sentence(sentence, n))
        return moved;
    if (blackboard.sentences.empty())
        return nullptr;
    // A scope reaching past the end keeps to the end of the document.
    if (sentence && n > 0)
        return blackboard.sentences.back().second.sentence;
    return blackboard.sentences.front().second.sentence;
}

} // namespace dez::trelix

#pragma once

// A document with its analyzer, engine and language module, built without
// language data: the engine hands out modules that only name a language and
// tokenize with ICU's word iterator. Shared by the tests of every folder.

#include <map>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "analysis/analyzer.h"
#include "api/analyzer.h"
#include "document/blackboard.h"
#include "engine/engine_interface.h"
#include "engine/language_module.h"
#include "engine/language_module_data.h"
#include "foundation/options.h"
#include "foundation/regex.h"
#include "tests/document/sentence_fixture.h"

namespace dez::trelix::fixture {

inline std::shared_ptr<LanguageModule> make_language_module(const std::string& name,
                                                            bool detect_headers = true) {
    auto module = std::make_shared<LanguageModule>();
    module->language = name;
    module->name = name;
    module->data = std::make_shared<LanguageModuleData>(name + ".language");
    module->data->config =
        std::make_shared<nlohmann::json>(nlohmann::json{{"tokenizer_locale", "en"}});
    module->data->detect_headers = detect_headers;
    return module;
}

// Answers every request with a fresh module of the requested language and
// remembers the requests; hands out the plugins a test puts in `plugins_by_name`
// (an empty handle for any other name) and the collection a test puts in
// `collection`. Documents use nothing else of an
// engine; the other operations fail.
class TestEngine : public EngineInterface {
public:
    std::shared_ptr<LanguageModule>
    get_language_module(const std::shared_ptr<dez::IOptions>& options) const override {
        requests.push_back(options ? options->get("language") : std::string());
        return make_language_module(requests.back());
    }
    std::shared_ptr<LanguageModule>
    get_language_module(const std::string& language) const override {
        requests.push_back(language);
        return make_language_module(language);
    }
    std::shared_ptr<plugins::PluginCollection> get_plugins_ptr() const override {
        return collection;
    }
    plugins::PluginCollection* get_plugins() const override { return collection.get(); }

    DomainCollection get_domains(const std::string&, bool) const override { unused(); }
    std::string get_domain_filename(const std::string&) const override { unused(); }
    // A name in `unloadable_plugins` fails as an engine whose plugin did not load.
    const boost::shared_ptr<plugins::API>& get_plugin(const std::string& name) const override {
        plugin_requests.push_back(name);
        if (unloadable_plugins.count(name))
            throw std::out_of_range(name);
        auto found = plugins_by_name.find(name);
        return found == plugins_by_name.end() ? no_plugin : found->second;
    }
    void release_domains() override { unused(); }
    bool release_language(const std::string&) override { unused(); }
    bool release_domain(const std::string&) override { unused(); }
    bool purge_domains(const std::string&) override { unused(); }
    void init_plugins() override { unused(); }
    void collect_volume_size(uint64_t) const override {}
    std::string property(const std::string&) const override { unused(); }
    std::string info() const override { unused(); }
    std::string languages() const override { unused(); }
    std::shared_ptr<dez::afst::AFst> get_language_identifier_data() const override { unused(); }
    void check_language_purge() const override {}
    void check_language_file(const std::string&) const override {}
    void check_domain_purge() const override {}
    dez::Regex get_regex(const std::string& pattern) const override {
        return dez::Regex(pattern, false);
    }

    mutable std::vector<std::string> requests;
    std::map<std::string, boost::shared_ptr<plugins::API>> plugins_by_name;
    std::set<std::string> unloadable_plugins;
    mutable std::vector<std::string> plugin_requests;
    // The collection the engine hands out (none unless a test sets one).
    std::shared_ptr<plugins::PluginCollection> collection;

private:
    boost::shared_ptr<plugins::API> no_plugin;

    [[noreturn]] static void unused() {
        throw std::logic_error("the test engine does not serve this operation");
    }
};

inline std::shared_ptr<dez::IOptions> options(const char* json) {
    return std::make_shared<dez::Options>(json);
}

// The analyzer handle of a test: an engine, a module and analyzer options.
struct TestAnalyzer {
    explicit TestAnalyzer(const char* analyzer_options = "{}",
                          std::shared_ptr<LanguageModule> module = make_language_module("english"))
        : engine(std::make_shared<TestEngine>()), module(module),
          handle(engine, module, options(analyzer_options)) {}

    std::shared_ptr<TestEngine> engine;
    std::shared_ptr<LanguageModule> module;
    dez::api::Analyzer handle;
};

inline std::unique_ptr<Blackboard> make_blackboard(TestAnalyzer& analyzer,
                                                   const char* document_options = "{}") {
    return std::make_unique<Blackboard>(&analyzer.handle, options(document_options), nullptr, 0);
}

// Appends a sentence of space-separated words (offsets as in `text`, shifted
// by `offset`) to the document and its sentence table.
inline Sentence* add_sentence(Blackboard& blackboard, const std::string& text,
                              uint32_t offset = 0) {
    std::vector<TokenDef> tokens = words_of(text, offset);
    Sentence* sentence = make_sentence(tokens);
    blackboard.annotations->push_back(sentence);
    blackboard.sentences.emplace_back(sentence->begin, SentenceInfo(sentence));
    return sentence;
}

} // namespace dez::trelix::fixture

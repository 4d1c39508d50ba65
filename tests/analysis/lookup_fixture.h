#pragma once

// Lexicons built at test time with our own builder, lookup steps over them
// and documents whose language module carries chains of such steps.

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <fst/vector-fst.h>

#include "analysis/lookup.h"
#include "analysis/make_conditions.h"
#include "analysis/morph_data.h"
#include "analysis/morph_data_descriptor.h"
#include "core-afst/afst.h"
#include "core-afst/lookup_interface.h"
#include "document/blackboard.h"
#include "engine/language_module.h"
#include "engine/language_module_data.h"
#include "tests/core-afst/lexicon_fixture.h"
#include "tests/analysis/token_fixture.h"
#include "tests/document/blackboard_fixture.h"

namespace dez::trelix::fixture {

// A reading as text: "stem/pos[tags]{components}@weight".
inline std::string describe(const MorphData& reading) {
    std::string out = reading.stem + "/" + reading.pos;
    for (const std::string& tag : reading.tags)
        out += "[" + tag + "]";
    if (!reading.components.empty()) {
        out += "{";
        for (const MorphData& component : reading.components)
            out += describe(component) + ";";
        out += "}";
    }
    char weight[16];
    std::snprintf(weight, sizeof weight, "@%.2f", reading.weight);
    return out + weight;
}

inline std::vector<std::string> readings_of(const Token& token) {
    std::vector<std::string> out;
    for (const MorphData& reading : token.readings)
        out.push_back(describe(reading));
    return out;
}

inline std::shared_ptr<dez::afst::AFst> afst_of(const std::vector<std::string>& lines) {
    return std::make_shared<dez::afst::AFst>(afst_test::build_lexicon(lines));
}

// A plain word lookup over the pattern lines, e.g. "cat:cat[+Nn]".
inline core::MorphDataDescriptor plain(const std::vector<std::string>& lines,
                                       const std::string& properties = "") {
    core::MorphDataDescriptor descriptor;
    descriptor.lookup_type = 1;
    descriptor.afst = afst_of(lines);
    descriptor.properties = properties;
    return descriptor;
}

// Readings from the Unicode categories (punctuation, numbers, names).
inline core::MorphDataDescriptor icu() {
    core::MorphDataDescriptor descriptor;
    descriptor.lookup_type = 10;
    return descriptor;
}

// A strategy with fixed answers that counts how often it is asked.
class CountingLookup : public dez::afst::LookupInterface {
public:
    explicit CountingLookup(std::map<std::string, std::vector<std::string>> answers)
        : answers(std::move(answers)) {}
    int type() const override { return 1; }
    std::vector<std::string> up(const std::string& word) override {
        ++calls[word];
        auto found = answers.find(word);
        return found == answers.end() ? std::vector<std::string>{} : found->second;
    }

    std::map<std::string, std::vector<std::string>> answers;
    std::map<std::string, int> calls;
};

// A language module whose lexicon chains are the given descriptors.
struct ChainModule {
    std::vector<core::MorphDataDescriptor> chain;
    std::vector<core::MorphDataDescriptor> guessers;
    std::map<std::string, std::vector<core::MorphDataDescriptor>> named;
    std::string apostrophes;
    nlohmann::json config = nlohmann::json{{"tokenizer_locale", "en"}};
    bool detect_headers = false;

    std::shared_ptr<LanguageModule> make(const std::string& name = "english") const {
        auto module = make_language_module(name, detect_headers);
        module->data->morph_chain = chain;
        module->data->not_found_chain = guessers;
        module->data->property_chains = named;
        module->data->apostrophes = apostrophes;
        module->data->config = std::make_shared<nlohmann::json>(config);
        module->data->conditions = make_conditions(config);
        return module;
    }
};

// A document of the analyzer whose module has the chains; sentences are
// added with add_sentence.
struct ChainDocument {
    explicit ChainDocument(const ChainModule& chains, const char* analyzer_options = "{}",
                           const char* document_options = "{}")
        : analyzer(analyzer_options, chains.make()),
          document(make_blackboard(analyzer, document_options)) {
        document->set_languge_module(analyzer.module);
    }

    TestAnalyzer analyzer;
    std::unique_ptr<Blackboard> document;
};

} // namespace dez::trelix::fixture

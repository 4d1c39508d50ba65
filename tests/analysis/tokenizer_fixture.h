#pragma once

// A document whose language tokenizes with the rules of
// tests/data/analysis/tokenizer.rules and the default token map, and helpers
// that read back what the tokenizer made.

#include <cstdint>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>
#include <unicode/parseerr.h>
#include <unicode/rbbi.h>
#include <unicode/unistr.h>

#include "analysis/token_map.h"
#include "analysis/tokenize.h"
#include "document/blackboard.h"
#include "document/sentence.h"
#include "document/token.h"
#include "engine/language_module.h"
#include "engine/language_module_data.h"
#include "foundation/regex.h"
#include "tests/analysis/token_fixture.h"
#include "tests/document/blackboard_fixture.h"

namespace dez::trelix::fixture {

inline std::string read_test_file(const std::string& name) {
    std::ifstream in(std::string(TRELIX_TEST_DATA) + "/" + name, std::ios::binary);
    if (!in)
        throw std::runtime_error("missing test file " + name);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The fixture rules compiled once per process, in ICU's serialised form.
inline const std::vector<uint8_t>& compiled_rules() {
    static const std::vector<uint8_t> bytes = [] {
        const icu::UnicodeString rules =
            icu::UnicodeString::fromUTF8(read_test_file("analysis/tokenizer.rules"));
        UParseError where{};
        UErrorCode status = U_ZERO_ERROR;
        icu::RuleBasedBreakIterator iterator(rules, where, status);
        if (U_FAILURE(status))
            throw std::runtime_error("tokenizer.rules line " + std::to_string(where.line) + ":" +
                                     std::to_string(where.offset) + " " + u_errorName(status));
        uint32_t size = 0;
        const uint8_t* data = iterator.getBinaryRules(size);
        return std::vector<uint8_t>(data, data + size);
    }();
    return bytes;
}

// A module of its own (own data, own copy of the rules) that tokenizes with
// the fixture rules.
inline std::shared_ptr<LanguageModule> make_rules_module(const std::string& name = "english") {
    auto module = make_language_module(name);
    module->data->config = std::make_shared<nlohmann::json>(nlohmann::json::object());
    const std::vector<uint8_t>& rules = compiled_rules();
    auto* copy = new uint8_t[rules.size()];
    std::copy(rules.begin(), rules.end(), copy);
    module->data->rules_data = copy;
    module->data->rules_size = static_cast<uint32_t>(rules.size());
    module->data->owns_rules_data = true;
    module->data->token_map = init_token_map();
    return module;
}

// Currency, number and unit or multiplier: groups 1, 2 and 3.
inline const char* measures_pattern() {
    return "(\\$|\xE2\x82\xAC)?([0-9]+(?:\\.[0-9]+)?)(kg|km|m|k|bn|tn|\xC3\x85)?";
}

// One document of the fixture language holding a copy of `text`.
struct Document {
    explicit Document(const std::string& text, const char* analyzer_options = "{}",
                      const char* document_options = "{}",
                      std::shared_ptr<LanguageModule> module = make_rules_module())
        : analyzer(analyzer_options, module),
          blackboard(make_blackboard(analyzer, document_options)) {
        blackboard->set_analyzer(analyzer.handle.analyzer);
        blackboard->set_text(text.data(), text.size());
    }

    Blackboard& operator*() { return *blackboard; }
    Blackboard* operator->() { return blackboard.get(); }

    void use_measures() {
        blackboard->measures = std::make_shared<dez::Regex>(measures_pattern(), false);
    }

    // A sentence over [begin, end) of the text, tokenized.
    Sentence* tokenize_span(uint32_t begin, uint32_t end) {
        auto* sentence = new Sentence(begin, end);
        blackboard->annotations->push_back(sentence);
        blackboard->sentences.emplace_back(begin, SentenceInfo(sentence));
        made = tokenize(*blackboard, blackboard->text + begin, blackboard->text + end);
        return sentence;
    }
    Sentence* tokenize_all() {
        return tokenize_span(0, static_cast<uint32_t>(blackboard->text_length));
    }

    // The ICU sentence road over the whole text.
    void split() {
        analyzer.handle.analyzer->text_to_annotations_icu(*blackboard, blackboard->text,
                                                          blackboard->text_length);
    }

    TestAnalyzer analyzer;
    std::unique_ptr<Blackboard> blackboard;
    bool made = false;
};

inline std::vector<Token*> tokens_of(const Sentence& sentence) {
    std::vector<Token*> out;
    for (Annotation* a = sentence.annotations.head; a; a = a->next)
        if (a->type == annotation_token)
            out.push_back(static_cast<Token*>(a));
    return out;
}

// "literal@begin-end" per token.
inline std::vector<std::string> spans_of(const Sentence& sentence) {
    std::vector<std::string> out;
    for (const Token* token : tokens_of(sentence))
        out.push_back(token->literal + "@" + std::to_string(token->begin) + "-" +
                      std::to_string(token->end));
    return out;
}

inline std::vector<std::string> literals_of(const Sentence& sentence) {
    std::vector<std::string> out;
    for (const Token* token : tokens_of(sentence))
        out.push_back(token->literal);
    return out;
}

// "pos:stem" per reading.
inline std::vector<std::string> pos_stem_readings(const Token& token) {
    std::vector<std::string> out;
    for (const MorphData& reading : token.readings)
        out.push_back(reading.pos + ":" + reading.stem);
    return out;
}

inline std::vector<Sentence*> sentences_of(const Blackboard& blackboard) {
    std::vector<Sentence*> out;
    for (Annotation* a = blackboard.annotations->head; a; a = a->next)
        out.push_back(static_cast<Sentence*>(a));
    return out;
}

} // namespace dez::trelix::fixture

#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>
#include <unicode/uversion.h>

#include "engine/compiled_expression.h"

U_NAMESPACE_BEGIN
class BreakIterator;
class RuleBasedBreakIterator;
U_NAMESPACE_END

namespace dez::afst {
class AFst;
}

namespace dez::trelix {

class LookupConditionInterface;

namespace core {
struct MorphDataDescriptor;
namespace hmm {
struct Resource;
}
} // namespace core

// What one `.language` file yields, shared by every module handed out for it.
// Filled by the engine's language loader and then only read, except
// `last_access`.
class LanguageModuleData {
public:
    explicit LanguageModuleData(const std::string& source_name);
    // Frees `rules_data` when it owns it.
    ~LanguageModuleData();
    // Drops the compiled rules (and the word iterator made from them),
    // freeing them when owned.
    void release_rules();
    // The configuration's value of `name` (a JSON string; the JSON library's
    // type error otherwise); "" when absent.
    std::string get_config_option(const std::string& name) const;
    LanguageModuleData(const LanguageModuleData&) = delete;
    LanguageModuleData& operator=(const LanguageModuleData&) = delete;

    // The whole `.language` file.
    std::shared_ptr<nlohmann::json> config;
    // Tokenizer rule status to token tag.
    std::multimap<int32_t, std::string> token_map;
    std::shared_ptr<icu::RuleBasedBreakIterator> break_iterator;
    uint32_t rules_size = 0;
    // Compiled tokenizer rules in ICU's serialised form.
    const uint8_t* rules_data = nullptr;
    bool owns_rules_data = false;
    // The word iterator every document's tokenizer is cloned from, made on
    // first use, so that the rules are read once per language rather than
    // once per document. It reads `rules_data` in place.
    // Documents clone it concurrently (a const call) without the mutex once
    // `tokenizer_ready` points at it; the mutex guards only its making.
    mutable std::mutex tokenizer_mutex;
    mutable std::unique_ptr<icu::BreakIterator> tokenizer_prototype;
    mutable std::atomic<const icu::BreakIterator*> tokenizer_ready{nullptr};
    std::vector<core::MorphDataDescriptor> morph_chain;
    std::vector<core::MorphDataDescriptor> not_found_chain;
    std::map<std::string, std::vector<core::MorphDataDescriptor>> property_chains;
    std::string source_name;
    std::string config_filename;
    // Alternation expressions read from the language's word lists.
    std::string abbreviations;
    std::string apostrophes;
    std::string measures;
    // Their compiled forms, made once for all documents of the language.
    CompiledExpression abbreviations_regex;
    CompiledExpression apostrophes_regex;
    CompiledExpression measures_regex;
    // The tagger tables; never null, empty when the language has none.
    std::shared_ptr<const core::hmm::Resource> hmm;
    // The disambiguation transducer.
    std::shared_ptr<dez::afst::AFst> postagger;
    // Which tokens the second lexicon pass looks up again, first match wins.
    std::vector<std::shared_ptr<LookupConditionInterface>> conditions;
    // The language's default for header detection.
    bool detect_headers = true;
    int64_t last_write_time_stamp = -1;
    // Epoch seconds of the last request that handed this data out; set under
    // the engine lock, read by the purges and the engine description.
    std::atomic<int64_t> last_access{-1};
};

} // namespace dez::trelix

#include "engine/language_module.h"

#include <nlohmann/json.hpp>
#include <unicode/brkiter.h>
#include <unicode/locid.h>
#include <unicode/rbbi.h>

#include "analysis/tokenizer_facade.h"
#include "engine/language_module_data.h"
#include "foundation/exception.h"
#include "foundation/regex.h"

namespace dez::trelix {

namespace {

// A new iterator from the compiled rules, or the locale's word iterator
// when `locale` is given.
std::unique_ptr<icu::BreakIterator> make_word_iterator(const LanguageModuleData* data,
                                                       const std::string* locale) {
    UErrorCode status = U_ZERO_ERROR;
    if (!locale) {
        auto iterator = std::make_unique<icu::RuleBasedBreakIterator>(
            data ? data->rules_data : nullptr, data ? data->rules_size : 0, status);
        if (U_FAILURE(status))
            throw dez::Exception("ERROR: assigning tokenizer parser");
        return iterator;
    }
    std::unique_ptr<icu::BreakIterator> iterator(
        icu::BreakIterator::createWordInstance(icu::Locale(locale->c_str()), status));
    if (U_FAILURE(status) || !iterator)
        throw dez::Exception("ERROR: Could not load tokenizer for locale :" + *locale);
    return iterator;
}

} // namespace

std::shared_ptr<TokenizerFacade> LanguageModule::get_tokenizer() const {
    const nlohmann::json* config = data ? data->config.get() : nullptr;
    std::string locale;
    const bool from_rules =
        !config || !config->is_object() || !config->contains("tokenizer_locale");
    if (!from_rules)
        locale = config->at("tokenizer_locale").get<std::string>();

    auto facade = std::make_shared<TokenizerFacade>();
    if (!data) {
        facade->iterator = make_word_iterator(nullptr, from_rules ? nullptr : &locale);
    } else {
        // One prototype per language; each document walks its own clone.
        // Documents take no lock once the prototype exists.
        const icu::BreakIterator* prototype =
            data->tokenizer_ready.load(std::memory_order_acquire);
        if (!prototype) {
            std::lock_guard<std::mutex> lock(data->tokenizer_mutex);
            if (!data->tokenizer_prototype)
                data->tokenizer_prototype =
                    make_word_iterator(data.get(), from_rules ? nullptr : &locale);
            prototype = data->tokenizer_prototype.get();
            data->tokenizer_ready.store(prototype, std::memory_order_release);
        }
        facade->iterator.reset(prototype->clone());
        if (!facade->iterator)
            throw dez::Exception("ERROR: assigning tokenizer parser");
        facade->rules_owner = data;
    }
    if (from_rules)
        facade->rule_based = static_cast<icu::RuleBasedBreakIterator*>(facade->iterator.get());
    return facade;
}

std::shared_ptr<dez::Regex> LanguageModule::get_abbreviations() const {
    return data ? data->abbreviations_regex.get(data->abbreviations) : nullptr;
}

std::shared_ptr<dez::Regex> LanguageModule::get_apostrophes() const {
    return data ? data->apostrophes_regex.get(data->apostrophes) : nullptr;
}

std::shared_ptr<dez::Regex> LanguageModule::get_measures() const {
    return data ? data->measures_regex.get(data->measures) : nullptr;
}

} // namespace dez::trelix

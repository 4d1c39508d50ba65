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

std::shared_ptr<TokenizerFacade> LanguageModule::get_tokenizer() const {
    auto facade = std::make_shared<TokenizerFacade>();
    const nlohmann::json* config = data ? data->config.get() : nullptr;
    if (!config || !config->is_object() || !config->contains("tokenizer_locale")) {
        UErrorCode status = U_ZERO_ERROR;
        auto iterator = std::make_unique<icu::RuleBasedBreakIterator>(
            data ? data->rules_data : nullptr, data ? data->rules_size : 0, status);
        if (U_FAILURE(status))
            throw dez::Exception("ERROR: assigning tokenizer parser");
        facade->rule_based = iterator.get();
        facade->iterator = std::move(iterator);
        return facade;
    }
    const std::string locale = config->at("tokenizer_locale").get<std::string>();
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::BreakIterator> iterator(
        icu::BreakIterator::createWordInstance(icu::Locale(locale.c_str()), status));
    if (U_FAILURE(status))
        throw dez::Exception("ERROR: Could not load tokenizer for locale :" + locale);
    facade->iterator = std::move(iterator);
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

#pragma once

#include <memory>
#include <string>

namespace dez {
class Regex;
}

namespace dez::trelix {

class LanguageModuleData;
class TokenizerFacade;

// One request's handle on a loaded language. The engine hands out a fresh one
// per request; the data behind it is shared and cached by the engine.
class LanguageModule {
public:
    // A new word tokenizer for one document: from the compiled rules, or
    // ICU's word iterator of the configured "tokenizer_locale". Fails with
    // dez::Exception when ICU refuses either.
    std::shared_ptr<TokenizerFacade> get_tokenizer() const;
    // The language's compiled expression, shared by every document (compiled
    // once per language), or null when the language has none.
    std::shared_ptr<dez::Regex> get_abbreviations() const;
    std::shared_ptr<dez::Regex> get_apostrophes() const;
    std::shared_ptr<dez::Regex> get_measures() const;

    // The language asked for (option "language").
    std::string language;
    // The module's name, its `.language` path relative to the search folder;
    // a document without a language takes it.
    std::string name;
    std::shared_ptr<LanguageModuleData> data;
};

} // namespace dez::trelix

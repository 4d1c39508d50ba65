#pragma once

// The tokens a language's word tokenizer makes of a text, with the rule
// status of each.

#include <string>
#include <utility>
#include <vector>

#include <unicode/brkiter.h>
#include <unicode/rbbi.h>
#include <unicode/unistr.h>

#include "analysis/tokenizer_facade.h"
#include "engine/language_module.h"

namespace dez::trelix::fixture {

// The non-blank tokens of `text`, in order.
inline std::vector<std::pair<std::string, int>> statused_tokens(const LanguageModule& module,
                                                                const std::string& text) {
    auto facade = module.get_tokenizer();
    const icu::UnicodeString unicode = icu::UnicodeString::fromUTF8(text);
    facade->iterator->setText(unicode);
    std::vector<std::pair<std::string, int>> result;
    int32_t begin = facade->iterator->first();
    for (int32_t end = facade->iterator->next(); end != icu::BreakIterator::DONE;
         begin = end, end = facade->iterator->next()) {
        std::string token;
        unicode.tempSubString(begin, end - begin).toUTF8String(token);
        if (token.find_first_not_of(" \n\t") != std::string::npos)
            result.emplace_back(token, facade->rule_based->getRuleStatus());
    }
    return result;
}

} // namespace dez::trelix::fixture

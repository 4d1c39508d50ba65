#include "analysis/tokenizer_facade.h"

#include <unicode/brkiter.h>
#include <unicode/unistr.h>

namespace dez::trelix {

TokenizerFacade::TokenizerFacade() = default;
TokenizerFacade::~TokenizerFacade() = default;

} // namespace dez::trelix

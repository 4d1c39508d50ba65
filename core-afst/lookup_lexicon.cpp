#include "core-afst/lookup_lexicon.h"

#include "core-afst/afst.h"

#include <stdexcept>
#include <string>
#include <utility>

namespace dez::afst {

LookupLexicon::LookupLexicon(std::shared_ptr<AFst> lexicon) : lexicon_(std::move(lexicon)) {}

LookupLexicon::LookupLexicon(std::shared_ptr<::fst::StdVectorFst> transducer)
    : lexicon_(std::make_shared<AFst>(std::move(transducer))) {}

std::shared_ptr<AFst> LookupLexicon::take(const char* who) && {
    if (!lexicon_)
        throw std::invalid_argument(std::string(who) + ": no lexicon");
    return std::move(lexicon_);
}

} // namespace dez::afst

#pragma once

#include <memory>
#include <string>

#include <unicode/uversion.h>

U_NAMESPACE_BEGIN
class BreakIterator;
U_NAMESPACE_END

namespace dez::trelix {

// A new ICU sentence iterator for the locale (ICU's default locale for an
// empty name), cloned from one kept per locale name: building one from the
// locale data costs several times a document's sentence walk. Fails with
// dez::Exception "ERROR: Could not load sentence iterator for locale :" +
// name; failures are not kept.
std::unique_ptr<icu::BreakIterator> get_sentence_iterator(const std::string& locale);

} // namespace dez::trelix

#include "analysis/sentence_iterator_cache.h"

#include <map>
#include <mutex>

#include <unicode/brkiter.h>
#include <unicode/locid.h>

#include "foundation/exception.h"

namespace dez::trelix {

namespace {

// Locale names come from options; past this many the iterators are built
// and not kept, so that the cache cannot grow without bound.
constexpr std::size_t max_kept = 64;

std::unique_ptr<icu::BreakIterator> build(const std::string& locale) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::BreakIterator> iterator(icu::BreakIterator::createSentenceInstance(
        locale.empty() ? icu::Locale::getDefault() : icu::Locale(locale.c_str()), status));
    if (U_FAILURE(status) || !iterator)
        throw dez::Exception("ERROR: Could not load sentence iterator for locale :" + locale);
    return iterator;
}

} // namespace

std::unique_ptr<icu::BreakIterator> get_sentence_iterator(const std::string& locale) {
    // Kept iterators live until the process ends and are only cloned (a const
    // call), so each thread remembers the ones it has used and takes the lock
    // only for a locale new to it.
    static std::mutex mutex;
    static std::map<std::string, std::unique_ptr<icu::BreakIterator>> kept;
    thread_local std::map<std::string, const icu::BreakIterator*> seen;
    const icu::BreakIterator* prototype = nullptr;
    if (auto known = seen.find(locale); known != seen.end()) {
        prototype = known->second;
    } else {
        std::lock_guard<std::mutex> lock(mutex);
        auto found = kept.find(locale);
        if (found == kept.end()) {
            if (kept.size() >= max_kept)
                return build(locale);
            found = kept.emplace(locale, build(locale)).first;
        }
        prototype = found->second.get();
        seen.emplace(locale, prototype);
    }
    std::unique_ptr<icu::BreakIterator> copy(prototype->clone());
    if (!copy)
        throw dez::Exception("ERROR: Could not load sentence iterator for locale :" + locale);
    return copy;
}

} // namespace dez::trelix

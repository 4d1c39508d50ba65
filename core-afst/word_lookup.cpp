#include "core-afst/word_lookup.h"

#include "core-afst/afst.h"
#include "core-afst/arc_matcher.h"
#include "core-afst/base_matcher.h"
#include "core-afst/end_policies.h"
#include "core-afst/result_collectors.h"
#include "core-afst/walk_input.h"

namespace dez::afst {

namespace {

using WholeWordWalk =
    detail::Walk<AFSTArcMatcher<Utf8Input, DefaultIteratorPolicy, ResultCollectorSorted>>;
using RangeMatcher = BaseMatcher<ArcMatcher<Utf8Input, SpaceEndPolicy, EndOffsetResultCollector>>;

} // namespace

WordLookup::WordLookup(LookupLexicon lexicon, std::shared_ptr<ILookupConverter> converter)
    : lexicon_(std::move(lexicon).take("WordLookup")), converter_(std::move(converter)) {}

WordLookup::~WordLookup() = default;

int WordLookup::type() const {
    return lookup_plain;
}

std::vector<std::string> WordLookup::up(const std::string& word) {
    // Room for the walk on first use only: a document makes its lookups
    // whether or not it walks them.
    if (scratch_.stack.capacity() == 0)
        scratch_.stack.reserve(50);
    return up(word, scratch_);
}

std::vector<std::string> WordLookup::up(const std::string& word,
                                        WalkScratch<uint32_t>& scratch) const {
    const std::string converted = converter_ ? (*converter_)(word) : std::string();
    const std::string& text = converter_ ? converted : word; // no copy without a converter
    std::vector<std::string> results;
    ResultCollectorSorted collector(results);
    WholeWordWalk::run(lexicon_->network(), scratch,
                       Utf8Input(text.data(), text.data() + text.size()), collector);
    return results;
}

std::vector<std::pair<int, std::string>> WordLookup::up(const char* begin, const char* end,
                                                        end_on_space) const {
    const Utf8Input input(begin, end);
    std::vector<std::pair<int, std::string>> results;
    EndOffsetResultCollector collector(results);
    RangeMatcher matcher(*lexicon_);
    matcher.match(input, collector);
    return results;
}

} // namespace dez::afst

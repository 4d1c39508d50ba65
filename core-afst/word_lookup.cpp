#include "core-afst/word_lookup.h"

#include "core-afst/afst.h"
#include "core-afst/arc_matcher.h"
#include "core-afst/base_matcher.h"
#include "core-afst/end_policies.h"
#include "core-afst/result_collectors.h"
#include "core-afst/walk_input.h"

#include <iostream>
#include <stdexcept>

namespace dez::afst {

namespace {

using WholeWordWalk =
    detail::Walk<AFSTArcMatcher<Utf8Input, DefaultIteratorPolicy, ResultCollectorSorted>>;
using RangeMatcher = BaseMatcher<ArcMatcher<Utf8Input, SpaceEndPolicy, EndOffsetResultCollector>>;

} // namespace

WordLookup::WordLookup(std::shared_ptr<AFst> lexicon, std::shared_ptr<ILookupConverter> converter)
    : lexicon_(std::move(lexicon)), converter_(std::move(converter)) {
    if (!lexicon_)
        throw std::invalid_argument("WordLookup: no lexicon");
    scratch_.stack.reserve(50);
}

WordLookup::WordLookup(std::shared_ptr<::fst::StdVectorFst> lexicon,
                       std::shared_ptr<ILookupConverter> converter)
    : WordLookup(std::make_shared<AFst>(std::move(lexicon)), std::move(converter)) {}

WordLookup::~WordLookup() = default;

int WordLookup::type() const {
    return lookup_plain;
}

std::vector<std::string> WordLookup::up(const std::string& word) {
    // A call that ended in an exception may have left results behind.
    results_.clear();
    const std::string converted = converter_ ? (*converter_)(word) : std::string();
    const std::string& text = converter_ ? converted : word;
    ResultCollectorSorted collector(results_);
    WholeWordWalk::run(lexicon_->network(), scratch_,
                       Utf8Input(text.data(), text.data() + text.size()), collector);
    std::vector<std::string> results = std::move(results_);
    results_.clear();
    return results;
}

std::vector<std::pair<int, std::string>> WordLookup::up(const char* begin, const char* end,
                                                        end_on_space) {
    const Utf8Input input(begin, end);
    std::vector<std::pair<int, std::string>> results;
    EndOffsetResultCollector collector(results);
    RangeMatcher matcher(*lexicon_);
    matcher.match(input, collector);
    return results;
}

void WordLookup::print_results(const std::string& word) {
    std::cout << "up [" << word << "]" << std::endl;
    for (const auto& result : up(word))
        std::cout << "  -- " << result << std::endl;
}

} // namespace dez::afst

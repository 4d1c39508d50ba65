#include "core-afst/endings_lookup.h"

#include "core-afst/afst.h"
#include "core-afst/arc_matcher.h"
#include "core-afst/base_matcher.h"
#include "core-afst/end_policies.h"
#include "core-afst/result_collectors.h"
#include "core-afst/walk_input.h"

#include <utf8.h>

#include <iterator>
#include <utility>

namespace dez::afst {

namespace {

using EndingsMatcher =
    BaseMatcher<ArcMatcher<ReverseCodePointInput, AlwasyTrueEndPolicy, EndOffsetResultCollector>>;

} // namespace

EndingsLookup::EndingsLookup(LookupLexicon lexicon, std::shared_ptr<ILookupConverter> converter)
    : lexicon_(std::move(lexicon).take("EndingsLookup")), converter_(std::move(converter)) {}

EndingsLookup::~EndingsLookup() = default;

int EndingsLookup::type() const {
    return lookup_endings;
}

std::vector<std::string> EndingsLookup::up(const std::string& word) {
    if (word.size() <= 7 || word[0] < 'A' || word[0] > 'Z')
        return {};
    std::vector<uint32_t> code_points;
    utf8::utf8to32(word.begin(), word.end(), std::back_inserter(code_points));

    std::vector<std::pair<int, std::string>> endings;
    EndOffsetResultCollector collector(endings);
    EndingsMatcher matcher(*lexicon_);
    matcher.match(
        ReverseCodePointInput(code_points.data(), static_cast<uint32_t>(code_points.size())),
        collector);

    std::vector<std::string> readings;
    for (const auto& [offset, analysis] : endings) {
        const std::size_t kept = code_points.size() - static_cast<std::size_t>(-offset);
        if (kept <= 2)
            continue;
        std::string stem;
        utf8::utf32to8(code_points.begin(), code_points.begin() + kept, std::back_inserter(stem));
        std::string reading = "#$";
        reading += stem;
        reading.append(analysis, 0, analysis.find('+'));
        reading += "#";
        reading += stem;
        reading += "+Prop#";
        reading += analysis;
        reading += "+reverse";
        readings.push_back(std::move(reading));
    }
    return readings;
}

void EndingsLookup::print_results(const std::string& word) {
    print_result_lines(word, "  -c- ");
}

std::string construct_stem(const std::vector<std::string>& parts) {
    std::string stem;
    for (const auto& part : parts)
        if (!part.empty()) {
            stem += "#";
            stem += part;
        }
    return stem;
}

} // namespace dez::afst

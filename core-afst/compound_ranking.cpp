#include "core-afst/compound_ranking.h"

#include "core-afst/compound_tags.h"

#include <algorithm>
#include <cstddef>
#include <string_view>
#include <utility>

namespace dez::afst {

namespace {

// A '+' followed by at least three characters, the first an 'N': a noun tag.
bool has_noun_tag(const std::string& analysis) {
    for (auto plus = analysis.find('+'); plus != std::string::npos;
         plus = analysis.find('+', plus + 1))
        if (analysis.size() - plus > 3 && analysis[plus + 1] == 'N')
            return true;
    return false;
}

bool starts_with(const std::string& word, const std::string& prefix, std::string_view literal) {
    return word.size() >= prefix.size() + literal.size() &&
           word.compare(0, prefix.size(), prefix) == 0 &&
           word.compare(prefix.size(), literal.size(), literal) == 0;
}

void keep_first(std::vector<CompoundSegmentation>& segmentations, std::size_t count) {
    segmentations.resize(count);
}

void keep_second(std::vector<CompoundSegmentation>& segmentations) {
    CompoundSegmentation second = std::move(segmentations[1]);
    segmentations.clear();
    segmentations.push_back(std::move(second));
}

} // namespace

int32_t get_most_likely_components(const std::string& word,
                                   std::vector<CompoundSegmentation>& segmentations) {
    if (segmentations.empty())
        return -1;
    if (segmentations.size() == 1) {
        if (segmentations.front().size() == 1) {
            segmentations.clear();
            return -1;
        }
        return 0;
    }
    // Stable, so that equal counts keep the order they were found in.
    std::stable_sort(segmentations.begin(), segmentations.end(), SortByNumberOfParts());
    const CompoundSegmentation& first = segmentations[0];
    const CompoundSegmentation& second = segmentations[1];
    if (first.size() == 1) {
        segmentations.clear();
        return -1;
    }
    if (first.size() < second.size()) {
        keep_first(segmentations, 1);
        return 0;
    }

    std::string prefix;
    const std::size_t count = first.size();
    for (std::size_t i = 0; i < count; ++i) {
        const std::string_view first_literal = first[i].literal();
        const std::string_view second_literal = second[i].literal();
        if (first_literal.size() == second_literal.size()) {
            prefix += first_literal;
            continue;
        }
        if (i == 0) {
            keep_first(segmentations, 2);
        } else if (starts_with(word, prefix, first_literal)) {
            keep_first(segmentations, 1);
        } else if (starts_with(word, prefix, second_literal)) {
            keep_second(segmentations);
        } else if (i + 1 == count) {
            const std::string& first_analysis = first[i].analysis;
            if (has_noun_tag(first_analysis))
                keep_first(segmentations, 1);
            else if (first_analysis.find('+') == std::string::npos &&
                     has_noun_tag(second[i].analysis))
                keep_second(segmentations);
        } else {
            keep_first(segmentations, 2);
        }
        return 0;
    }
    keep_first(segmentations, 2);
    return 0;
}

void filter_genetives(std::vector<CompoundSegmentation>& segmentations) {
    const auto invalid = [](const CompoundSegmentation& segmentation) {
        if (segmentation.empty())
            return true;
        for (std::size_t i = 0; i + 1 < segmentation.size(); ++i)
            if (has_invalid_tags(segmentation[i].analysis))
                return true;
        return false;
    };
    segmentations.erase(std::remove_if(segmentations.begin(), segmentations.end(), invalid),
                        segmentations.end());
}

} // namespace dez::afst

#include "core-afst/compound_stem.h"

#include "core-afst/compound_tags.h"

#include "foundation/case_mapping.h"

#include <algorithm>
#include <cstddef>

namespace dez::afst {

namespace {

void append_components(std::string& text, const CompoundSegmentation& segmentation) {
    for (const auto& part : segmentation) {
        if (!part.analysis.empty() && part.analysis.front() != '#')
            text += '#';
        text += part.analysis;
    }
}

bool continuation_byte(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

std::size_t clamp_to(const std::string& text, int64_t offset) {
    return static_cast<std::size_t>(
        std::clamp<int64_t>(offset, 0, static_cast<int64_t>(text.size())));
}

// `offset` clamped to the word and moved back onto the first byte of a
// UTF-8 sequence.
std::size_t cut_position(const std::string& word, int64_t offset) {
    std::size_t cut = clamp_to(word, offset);
    while (cut > 0 && cut < word.size() && continuation_byte(word[cut]))
        --cut;
    return cut;
}

// The byte of `word` that starts as many characters in as `converted` has
// before `offset`; the end of the word when it has fewer.
std::size_t cut_position(const std::string& word, const std::string& converted, int64_t offset) {
    const std::size_t end = clamp_to(converted, offset);
    std::size_t characters = 0;
    for (std::size_t i = 0; i < end; ++i)
        if (!continuation_byte(converted[i]))
            ++characters;
    std::size_t cut = 0;
    while (cut < word.size() && characters > 0) {
        ++cut;
        while (cut < word.size() && continuation_byte(word[cut]))
            ++cut;
        --characters;
    }
    return cut;
}

std::string stem_v3(const std::string& word, const CompoundSegmentation& segmentation,
                    const std::string* converted) {
    if (word.find('#') != std::string::npos || segmentation.empty())
        return construct_stem_v2(word, segmentation);
    const auto& last = segmentation.back();
    std::string lemma = fst_label_stem(last.analysis);
    // A cleared prefix or affix, or an analysis that is all tags: no lemma
    // to end the stem with.
    if (lemma.empty())
        return construct_stem_v2(word, segmentation);
    dez::string::lower_initial_cap_word(lemma, lemma);

    std::string text = "#$";
    text.append(word, 0,
                converted ? cut_position(word, *converted, last.start)
                          : cut_position(word, last.start));
    text += lemma;
    append_components(text, segmentation);
    return text;
}

} // namespace

std::string construct_stem_v2(const std::string&, const CompoundSegmentation& segmentation) {
    std::string text;
    for (const auto& part : segmentation) {
        if (part.analysis.empty())
            continue;
        text += '#';
        text += part.analysis;
    }
    return text;
}

std::string construct_stem_v3(const std::string& word, const CompoundSegmentation& segmentation) {
    return stem_v3(word, segmentation, nullptr);
}

std::string construct_stem_v3(const std::string& word, const std::string& converted,
                              const CompoundSegmentation& segmentation) {
    return stem_v3(word, segmentation, &converted);
}

std::string construct_literal(const std::string& word, const CompoundSegmentation& segmentation) {
    std::string text = "#$";
    text += word;
    append_components(text, segmentation);
    return text;
}

std::vector<std::string>
construct_stems_v3(const std::string& word, const std::string& converted,
                   const std::vector<CompoundSegmentation>& segmentations) {
    std::vector<std::string> readings;
    readings.reserve(segmentations.size());
    for (const auto& segmentation : segmentations)
        readings.push_back(construct_stem_v3(word, converted, segmentation));
    return readings;
}

} // namespace dez::afst

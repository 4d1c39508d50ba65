#include "document/annotation_text.h"

#include <iterator>

#include <utf8.h>

#include "analysis/token_helpers.h"
#include "document/annotation_string_visitors.h"
#include "foundation/pos_table.h"
#include "foundation/string_utils.h"
#include "foundation/text_cleanup.h"

namespace dez::trelix {

// After the foundation's table, which it copies.
__attribute__((init_priority(201))) const std::map<uint32_t, uint32_t> dez_input_converter =
    dez::string::dez_input_converter;

namespace {

// Class bit of the proper names.
constexpr uint32_t prop_class = 0x4000000;

bool is_blank(char c) {
    return c == ' ' || static_cast<unsigned char>(c) <= 0x0D;
}

std::string trim(std::string text) {
    std::size_t first = 0;
    while (first < text.size() && is_blank(text[first]))
        ++first;
    std::size_t last = text.size();
    while (last > first && is_blank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

template <typename StringVisitor>
std::string walk(const RawPtrIterator& begin, const RawPtrIterator& end) {
    std::string out;
    StringVisitor visitor(&out);
    for (const Annotation* a = begin.get(); a && a != end.get(); a = a->next)
        visitor.visit(a);
    return out;
}

RawPtrIterator at(const Concept* concept_) {
    return RawPtrIterator(const_cast<Concept*>(concept_));
}

} // namespace

template <typename String, typename Traits, typename Spacing>
bool visit_canonical_string<String, Traits, Spacing>::visit(const Token& token) {
    if (!token.literal.empty() && token.literal.front() == '-')
        return false;
    spacing.before(token);
    if (has_property(token, "guess") || token.readings.empty()) {
        out->append(token.literal);
        return false;
    }
    const bool name_part =
        has_pos(&token, prop_class) &&
        (has_property(token, "gen") || has_property(token, "giv") || has_property(token, "fam"));
    if (name_part || has_pos(&token, std::string("Prop-Gen")))
        out->append(token.readings.front().stem);
    else
        out->append(token.literal);
    return false;
}

std::string get_annotation_string(const RawPtrIterator& begin, const RawPtrIterator& end) {
    return trim(walk<visit_literal_string<std::string, DefaultCharTraits,
                                          DefaultSpacingPolicy<std::string>>>(begin, end));
}

std::string get_annotation_real_string(const RawPtrIterator& begin, const RawPtrIterator& end) {
    return trim(walk<visit_canonical_string<std::string, DefaultCharTraits,
                                            RealSpacingPolicy<std::string>>>(begin, end));
}

RawPtrIterator concept_range_end(const Concept* concept_) {
    if (!concept_)
        return RawPtrIterator();
    if (concept_->end_annotation)
        return RawPtrIterator(concept_->end_annotation);
    Annotation* a = concept_->next;
    while (a && a->begin < concept_->end)
        a = a->next;
    return RawPtrIterator(a);
}

std::string get_canonical(const Concept* concept_) {
    if (!concept_)
        return {};
    const std::string& canonical = concept_->get_attribute("canonical");
    if (!canonical.empty())
        return canonical;
    return get_annotation_string(at(concept_), concept_range_end(concept_));
}

std::string get_person_canonical(const Concept* concept_) {
    if (!concept_)
        return {};
    const std::string& canonical = concept_->get_attribute("canonical");
    if (!canonical.empty())
        return canonical;
    return dez::string::camel_case_word(
        get_annotation_real_string(at(concept_), concept_range_end(concept_)), ' ');
}

std::string get_pos_sequence(const Concept* concept_) {
    if (!concept_)
        return {};
    return walk<visit_pos_string<std::string, DefaultCharTraits, NoSpacingPolicy<std::string>>>(
        at(concept_), concept_range_end(concept_));
}

std::string cleanup_input(const std::string& text) {
    std::string result;
    result.reserve(text.size());
    for (auto position = text.begin(); position != text.end();) {
        const uint32_t c = utf8::next(position, text.end());
        if (c < 0x80) {
            result.push_back(static_cast<char>(c));
            continue;
        }
        auto found = dez_input_converter.find(c);
        utf8::append(found != dez_input_converter.end() ? found->second : c,
                     std::back_inserter(result));
    }
    return result;
}

} // namespace dez::trelix

#include "api/analyze.h"

#include <limits>
#include <string>
#include <type_traits>
#include <utility>

#include <utf8.h>

#include "analysis/analyzer.h"
#include "analysis/dictionary_lookup.h"
#include "analysis/offset_table.h"
#include "analysis/tokenize.h"
#include "document/blackboard.h"
#include "document/concept.h"
#include "document/end_annotation.h"
#include "document/end_of_stream.h"
#include "document/sentence.h"
#include "foundation/exception.h"

namespace dez::api {

using dez::trelix::Blackboard;
using InnerAnalyzer = dez::trelix::Analyzer;

namespace {

// Whether the analyzer offers the two `generate` operations yet. Until the
// analyzer work lands they do not exist and the stand-ins below run; once it
// has, these calls reach the real operations without any change here, and
// the stand-ins can be deleted.
template <typename A, typename = void> struct has_generate_text : std::false_type {};
template <typename A>
struct has_generate_text<
    A, std::void_t<decltype(std::declval<A&>().generate(
           std::declval<Blackboard&>(), std::declval<const char*>(), std::declval<std::size_t>()))>>
    : std::true_type {};

template <typename A, typename = void> struct has_generate_again : std::false_type {};
template <typename A>
struct has_generate_again<
    A, std::void_t<decltype(std::declval<A&>().generate(std::declval<Blackboard&>()))>>
    : std::true_type {};

// Stand-in for Analyzer::generate over text: the whole text as one sentence
// cut by the tokenize seam, readings from the lookup seam. Completed by the
// analyzer work (splitters, repair, disambiguation, tagger, plugin hooks,
// result import).
void stand_in_generate(InnerAnalyzer& analyzer, Blackboard& document, const char* text,
                       std::size_t length) {
    document.set_analyzer(analyzer.shared_from_this());
    const std::string input_type = document.options ? document.options->get("input_type") : "";
    if (!input_type.empty() && input_type != "text")
        throw dez::Exception("Input type not supported yet: " + input_type);
    if (!document.language_module)
        return;
    if (length > static_cast<std::size_t>(std::numeric_limits<int>::max()))
        throw dez::Exception("The text is too long to analyse.");
    if (!utf8::is_valid(text, text + length))
        throw dez::Exception("Invalid utf8 character.");
    document.set_text(text, length);
    document.offset_table =
        dez::trelix::generate_offset_mappings(document.text, static_cast<int>(length));

    const char* begin = document.text;
    const char* end = begin + length;
    auto blank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    while (begin < end && blank(*begin))
        ++begin;
    while (end > begin && blank(end[-1]))
        --end;
    if (begin == end)
        return;
    const auto first = static_cast<uint32_t>(begin - document.text);
    const auto last = static_cast<uint32_t>(end - document.text);
    auto* sentence = new dez::trelix::Sentence(first, last);
    document.annotations->push_back(sentence);
    auto* head = new dez::trelix::Concept(first, last, "Sentence");
    sentence->annotations.push_back(head);
    dez::trelix::tokenize(document, begin, end);
    auto* marker = new dez::trelix::EndAnnotation(last);
    marker->add(head);
    head->end_annotation = marker;
    sentence->annotations.push_back(marker);
    sentence->annotations.push_back(new dez::trelix::EndOfStream(last));
    document.sentences.emplace_back(first, dez::trelix::SentenceInfo(sentence));
    dez::trelix::add_dictionary_lookup_information(document);
}

// Stand-in for Analyzer::generate over a processed document; completed by
// the analyzer work.
void stand_in_generate(InnerAnalyzer& analyzer, Blackboard& document) {
    document.set_analyzer(analyzer.shared_from_this());
    dez::trelix::additional_dictionary_lookup_information(document);
}

// Templates, so that the branch not taken is never compiled.
template <typename A>
void generate_text(A& analyzer, Blackboard& document, const char* text, std::size_t length) {
    if constexpr (has_generate_text<A>::value)
        analyzer.generate(document, text, length);
    else
        stand_in_generate(analyzer, document, text, length);
}

template <typename A> void generate_again(A& analyzer, Blackboard& document) {
    if constexpr (has_generate_again<A>::value)
        analyzer.generate(document);
    else
        stand_in_generate(analyzer, document);
}

} // namespace

void analyze_text(InnerAnalyzer& analyzer, Blackboard& document, const char* text,
                  std::size_t length) {
    generate_text(analyzer, document, text, length);
}

void analyze_again(InnerAnalyzer& analyzer, Blackboard& document) {
    generate_again(analyzer, document);
}

} // namespace dez::api

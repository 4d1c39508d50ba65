#pragma once

// Builds sentence lists of the shape the text analysis produces: a "Sentence"
// concept spanning the sentence, the tokens, that concept's end marker, and an
// end-of-stream marker. Shared by the tests of every folder.

#include <cstdint>
#include <string>
#include <vector>

#include "document/attributes.h"
#include "document/concept.h"
#include "document/end_annotation.h"
#include "document/end_of_stream.h"
#include "document/sentence.h"
#include "document/token.h"

namespace dez::trelix::fixture {

struct TokenDef {
    std::string literal;
    uint32_t begin;
    uint32_t end;
};

// Caller owns the result (or hands it to an AnnotationCollection).
inline Sentence* make_sentence(const std::vector<TokenDef>& tokens) {
    const uint32_t begin = tokens.empty() ? 0 : tokens.front().begin;
    const uint32_t end = tokens.empty() ? 0 : tokens.back().end;
    auto* sentence = new Sentence(begin, end);
    auto* head = new Concept(begin, end, "Sentence");
    sentence->annotations.push_back(head);
    for (const auto& def : tokens)
        sentence->annotations.push_back(new Token(def.begin, def.end, def.literal));
    auto* marker = new EndAnnotation(end);
    marker->add(head);
    head->end_annotation = marker;
    sentence->annotations.push_back(marker);
    sentence->annotations.push_back(new EndOfStream(end));
    return sentence;
}

// The space-separated words of `text`, offsets as in that text shifted by `offset`.
inline std::vector<TokenDef> words_of(const std::string& text, uint32_t offset = 0) {
    std::vector<TokenDef> tokens;
    size_t start = 0;
    while (start < text.size()) {
        size_t stop = text.find(' ', start);
        if (stop == std::string::npos)
            stop = text.size();
        if (stop > start)
            tokens.push_back({text.substr(start, stop - start),
                              static_cast<uint32_t>(start) + offset,
                              static_cast<uint32_t>(stop) + offset});
        start = stop + 1;
    }
    return tokens;
}

// Space-separated words, offsets as in that text.
inline Sentence* make_sentence(const std::string& text) { return make_sentence(words_of(text)); }

// The index-th token of the sentence (0-based), or null.
inline Token* token_at(const Sentence& sentence, size_t index) {
    for (Annotation* a = sentence.annotations.head; a; a = a->next)
        if (a->type == annotation_token && index-- == 0)
            return static_cast<Token*>(a);
    return nullptr;
}

// Links a concept over the tokens first..last directly before `first` (so a
// concept added later over the same start stands inside the earlier ones) and
// registers it in the end marker after `last`, making one when needed.
inline Concept* add_concept(Sentence& sentence, Token* first, Token* last, const std::string& uri) {
    auto* concept_ = new Concept(first->begin, last->end, uri);
    sentence.annotations.insert(first, concept_);
    Annotation* after = last->next;
    EndAnnotation* marker = nullptr;
    if (after && after->type == annotation_end) {
        marker = static_cast<EndAnnotation*>(after);
    } else {
        marker = new EndAnnotation(last->end);
        sentence.annotations.insert(after, marker);
    }
    marker->add(concept_);
    concept_->end_annotation = marker;
    return concept_;
}

// Annotation kinds of the list in order, e.g. "2,3,3,4,5".
inline std::string kinds(const Sentence& sentence) {
    std::string out;
    for (const Annotation* a = sentence.annotations.head; a; a = a->next) {
        if (!out.empty())
            out += ',';
        out += std::to_string(a->type);
    }
    return out;
}

// Every value of `key` in the list, in list order.
inline std::vector<std::string> values(const Attributes& list, const std::string& key) {
    std::vector<std::string> out;
    for (const auto& [k, v] : list)
        if (k == key)
            out.push_back(to_string(v));
    return out;
}

} // namespace dez::trelix::fixture

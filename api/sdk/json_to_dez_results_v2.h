#pragma once

#include <cstddef>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "annotation.h"
#include "concept.h"
#include "morph_data.h"
#include "raw_ptr_list.h"
#include "sentence.h"
#include "token.h"

namespace qvr::common {

// Where the reader puts a result: sentences are appended to the list (which
// then owns them, see sentence_list.h); language and id stay empty when the
// result has none.
struct JsonToResult {
    explicit JsonToResult(RawPtrList<Annotation>& target) : sentences(target) {}

    RawPtrList<Annotation>& sentences;
    std::string language;
    std::string id;
};

namespace detail {

// Position `index` of a result array. A short array is refused here (the
// JSON library leaves reading past the end undefined); a value that is not
// an array gets the library's own type error.
inline const nlohmann::json& element(const nlohmann::json& array, std::size_t index,
                                     const char* what, std::size_t needed) {
    if (array.is_array() && array.size() < needed)
        throw std::runtime_error(std::string(what) + " needs at least " + std::to_string(needed) +
                                 " elements, got " + std::to_string(array.size()));
    return array[index];
}

// Component readings nest one level in what the library writes; deeper
// nesting is refused before it can exhaust the stack.
constexpr int max_reading_depth = 64;

// A readings array: stem, pos, then tags (strings) and component
// readings (arrays); other elements are passed over.
inline void read_readings(const nlohmann::json& readings, std::vector<MorphData>& into,
                          int depth = 0) {
    if (depth > max_reading_depth)
        throw std::runtime_error("readings nested deeper than " +
                                 std::to_string(max_reading_depth) + " levels");
    for (const nlohmann::json& reading : readings) {
        MorphData data;
        data.stem = element(reading, 0, "reading", 2).get<std::string>();
        data.pos = element(reading, 1, "reading", 2).get<std::string>();
        for (std::size_t i = 2; i < reading.size(); ++i) {
            const nlohmann::json& field = reading[i];
            if (field.is_string())
                data.tags.push_back(field.get<std::string>());
            else if (field.is_array())
                read_readings(field, data.components, depth + 1);
        }
        into.push_back(std::move(data));
    }
}

// An offset or kind: a number, a boolean or a floating value (converted).
// A floating value that no 32-bit offset can hold is refused rather than
// converted with an undefined result.
inline uint32_t number(const nlohmann::json& value) {
    if (value.is_number_float()) {
        const double number = value.get<double>();
        if (!(number > -1.0 && number < 4294967296.0))
            throw std::runtime_error("number out of range: " + value.dump());
    }
    return value.get<uint32_t>();
}

} // namespace detail

// Reads one sentence array of the result JSON into a new Sentence at the
// tail of `list`. Items of kinds other than token and concept are passed
// over; the sentence attributes are not read. Annotations made before a
// failure stay in the list.
inline void add_sentence(const nlohmann::json& sentence, RawPtrList<Annotation>& list) {
    using detail::element;
    detail::number(element(sentence, 0, "sentence", 4));
    const uint32_t begin = detail::number(element(sentence, 1, "sentence", 4));
    const uint32_t end = detail::number(element(sentence, 2, "sentence", 4));
    auto* target = new Sentence(begin, end);
    list.push_back(target);

    for (const nlohmann::json& item : element(sentence, 3, "sentence", 4)) {
        const uint32_t type = detail::number(element(item, 0, "item", 3));
        const uint32_t item_begin = detail::number(element(item, 1, "item", 3));
        const uint32_t item_end = detail::number(element(item, 2, "item", 3));
        if (type == token_type) {
            std::string literal = element(item, 3, "token", 6).get<std::string>();
            auto* token = new Token(item_begin, item_end, std::move(literal));
            target->annotations.push_back(token);
            for (const nlohmann::json& property : item[4])
                token->properties.insert(property.get<std::string>());
            detail::read_readings(item[5], token->readings);
        } else if (type == concept_type) {
            std::string uri = element(item, 3, "concept", 4).get<std::string>();
            auto* concept_ = new Concept(item_begin, item_end, std::move(uri));
            target->annotations.push_back(concept_);
            if (item.size() > 4)
                for (const auto& attribute : item[4].items())
                    for (const nlohmann::json& value : attribute.value())
                        concept_->attributes.emplace_back(attribute.key(),
                                                          value.get<std::string>());
        }
    }
}

// Reads a result JSON text (the "document" / "sentences" form or the
// top-level "sentences" form) into `result`, one Sentence per sentence
// array. Every failure is a std::runtime_error whose message is
// "Invalid tlx/json format," followed by the cause; sentences read before it
// stay in the list.
inline void json_to_dez_results_v2(JsonToResult& result, const char* text) {
    try {
        const nlohmann::json document = nlohmann::json::parse(text ? text : "");
        const nlohmann::json* sentences = nullptr;
        if (document.is_object()) {
            if (document.contains("language"))
                result.language = document["language"].get<std::string>();
            if (document.contains("id"))
                result.id = document["id"].get<std::string>();
            if (document.contains("document"))
                sentences = &document["document"].at("sentences");
            else if (document.contains("sentences"))
                sentences = &document["sentences"];
        }
        if (!sentences)
            throw std::runtime_error("Invalid document object, missing 'sentence' section.");
        for (const nlohmann::json& sentence : *sentences)
            add_sentence(sentence, result.sentences);
    } catch (const std::exception& e) {
        throw std::runtime_error(std::string("Invalid tlx/json format,") + e.what());
    }
}

} // namespace qvr::common

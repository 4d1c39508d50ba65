#pragma once

#include <cstddef>
#include <list>
#include <string>

#include <nlohmann/json_fwd.hpp>

namespace dez::trelix {

class AnnotationCollection;
class Blackboard;
class MorphData;

// One import of a v2 result: what the JSON says besides its sentences. The
// sentences go to `collection`, which only receives complete sentences.
struct JsonToResult {
    explicit JsonToResult(AnnotationCollection& collection) : collection(collection) {}

    AnnotationCollection& collection;
    std::string language;
    std::string id;
};

// Reads a v2 result (exactly `length` bytes of `json`) back into the
// document: sentences with tokens, readings and concepts, the language, the
// "id" option, the sentence table, end markers and end-of-stream markers.
// Offsets are taken as they stand but must not run backwards or leave their
// sentence. On failure (std::runtime_error "Invalid tlx/json format,"
// followed by the cause) the document is left as it was.
void json_to_annotations_v2(Blackboard& document, const char* json, std::size_t length);

// Parses `length` bytes of `json`, fills the result's language and id and
// appends the sentences to its collection. Every failure is a
// std::runtime_error "Invalid tlx/json format," followed by the cause; the
// sentences appended before a failure stay.
void json_to_dez_results_v2(JsonToResult& result, const char* json, std::size_t length);

// Appends one sentence array to the collection: a "Sentence" concept, then
// the tokens and concepts of its items in item order. Appends nothing when it
// fails.
void add_sentence(const nlohmann::json& sentence, AnnotationCollection& collection);

// Appends the readings of a list ([stem, pos, tags or component lists...]),
// each with weight 1.0.
void read_json_morph_data(std::list<MorphData>& readings, const nlohmann::json& list);

// Moves the result's sentences to the end of the document and finishes them:
// language, "id" option, sentence table, end markers of the concepts (the
// concepts other than "Sentence" marked for output) and end-of-stream
// markers. The result's collection is never the document's own.
void results_to_annotations_v2(Blackboard& document, JsonToResult& result);

} // namespace dez::trelix

#include "analysis/result_import.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <sstream>
#include <stdexcept>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "document/annotation_collection.h"
#include "document/blackboard.h"
#include "document/concept.h"
#include "document/end_annotation.h"
#include "document/end_of_stream.h"
#include "document/morph_data.h"
#include "document/sentence.h"
#include "document/sentence_info.h"
#include "document/token.h"

namespace dez::trelix {

using nlohmann::json;

namespace {

// Component lists nest a level or two; this bounds the recursion a crafted
// input could drive.
constexpr int max_reading_depth = 64;

[[noreturn]] void fail(const std::ostringstream& message) {
    throw std::runtime_error(message.str());
}

// An array of at least `needed` entries. Anything else than an array fails
// with the JSON library's own message, which names the type found.
const json& entries(const json& value, std::size_t needed, const char* what) {
    if (!value.is_array())
        (void)value.at(0);
    if (value.size() < needed) {
        std::ostringstream message;
        message << what << " needs " << needed << " entries, found " << value.size() << '.';
        fail(message);
    }
    return value;
}

// A number read as a whole number: floats truncated toward zero, true and
// false as 1 and 0; values beyond 64 bits saturate. Other types fail with the
// JSON library's "type must be number, but is ...".
int64_t whole_number(const json& value) {
    constexpr int64_t highest = std::numeric_limits<int64_t>::max();
    constexpr int64_t lowest = std::numeric_limits<int64_t>::min();
    if (value.is_boolean())
        return value.get<bool>() ? 1 : 0;
    if (value.is_number_unsigned()) {
        const auto number = value.get<uint64_t>();
        return number > static_cast<uint64_t>(highest) ? highest : static_cast<int64_t>(number);
    }
    if (value.is_number_integer())
        return value.get<int64_t>();
    if (value.is_number_float()) {
        const double number = std::trunc(value.get<double>());
        if (number >= 9.2e18)
            return highest;
        if (number <= -9.2e18)
            return lowest;
        return static_cast<int64_t>(number);
    }
    return value.get<int32_t>();
}

// Offsets are signed 32-bit numbers in the result; a negative one or one
// beyond would wrap into a different position.
uint32_t offset(int64_t number) {
    if (number < 0 || number > std::numeric_limits<int32_t>::max()) {
        std::ostringstream message;
        message << "offset out of range: " << number << '.';
        fail(message);
    }
    return static_cast<uint32_t>(number);
}

// Where a list is expected: an array's elements, an object's values in key
// order, nothing for null, any other value once.
template <typename Visit> void for_each_in_list(const json& value, Visit visit) {
    if (value.is_array() || value.is_object()) {
        for (const json& element : value)
            visit(element);
    } else if (!value.is_null()) {
        visit(value);
    }
}

// (name, value) pairs: an object's members, an array's elements named by
// index, nothing for null, any other value once with an empty name. Every
// string of each value's list becomes one attribute.
void add_attributes(Concept& concept_, const json& attributes) {
    auto add_values = [&concept_](const std::string& name, const json& values) {
        for_each_in_list(values, [&](const json& value) {
            concept_.add(name, value.get<std::string>(), store_by_key);
        });
    };
    if (attributes.is_object()) {
        for (auto member = attributes.begin(); member != attributes.end(); ++member)
            add_values(member.key(), member.value());
    } else if (attributes.is_array()) {
        for (std::size_t index = 0; index < attributes.size(); ++index)
            add_values(std::to_string(index), attributes[index]);
    } else if (!attributes.is_null()) {
        add_values(std::string(), attributes);
    }
}

void read_readings(std::list<MorphData>& readings, const json& list, int depth) {
    if (depth > max_reading_depth) {
        std::ostringstream message;
        message << "readings nested deeper than " << max_reading_depth << " levels.";
        fail(message);
    }
    for_each_in_list(list, [&](const json& element) {
        const json& reading = entries(element, 2, "a reading");
        readings.emplace_back(reading[1].get<std::string>(), reading[0].get<std::string>(), 1.0);
        MorphData& made = readings.back();
        for (std::size_t index = 2; index < reading.size(); ++index) {
            const json& extra = reading[index];
            if (extra.is_string())
                made.tags.push_back(extra.get<std::string>());
            else if (extra.is_array())
                read_readings(made.components, extra, depth + 1);
        }
    });
}

void check_span(const char* what, uint32_t begin, uint32_t end) {
    if (end < begin) {
        std::ostringstream message;
        message << what << " [" << begin << ", " << end << "] ends before it begins.";
        fail(message);
    }
}

// A token or concept lies inside its sentence and does not begin before the
// item before it.
void check_item(const Sentence& sentence, uint32_t begin, uint32_t end, uint32_t previous_begin) {
    check_span("item", begin, end);
    if (begin < sentence.begin || end > sentence.end) {
        std::ostringstream message;
        message << "item [" << begin << ", " << end << "] lies outside its sentence ["
                << sentence.begin << ", " << sentence.end << "].";
        fail(message);
    }
    if (begin < previous_begin) {
        std::ostringstream message;
        message << "item [" << begin << ", " << end << "] begins before the item before it (at "
                << previous_begin << ").";
        fail(message);
    }
}

// The first token at or after a position whose end reaches an offset, in
// logarithmic time: a walk along the list for every concept would make long
// sentences with many concepts quadratic.
class TokenReach {
public:
    explicit TokenReach(const std::vector<Annotation*>& tokens) : tokens(tokens) {
        while (leaves < tokens.size())
            leaves <<= 1;
        highest_end.assign(2 * leaves, -1);
        for (std::size_t i = 0; i < tokens.size(); ++i)
            highest_end[leaves + i] = tokens[i]->end;
        for (std::size_t node = leaves - 1; node > 0; --node)
            highest_end[node] = std::max(highest_end[2 * node], highest_end[2 * node + 1]);
    }

    // Null when no token from `from` on reaches `end`.
    Annotation* first(std::size_t from, uint32_t end) const {
        const std::size_t found = search(1, 0, leaves, from, end);
        return found < tokens.size() ? tokens[found] : nullptr;
    }

private:
    static constexpr std::size_t none = std::numeric_limits<std::size_t>::max();

    std::size_t search(std::size_t node, std::size_t low, std::size_t high, std::size_t from,
                       int64_t end) const {
        if (high <= from || highest_end[node] < end)
            return none;
        if (high - low == 1)
            return low;
        const std::size_t middle = low + (high - low) / 2;
        const std::size_t left = search(2 * node, low, middle, from, end);
        return left != none ? left : search(2 * node + 1, middle, high, from, end);
    }

    const std::vector<Annotation*>& tokens;
    std::size_t leaves = 1;
    std::vector<int64_t> highest_end;
};

// The end marker of a concept: the one right after `token`, the first token
// after the concept that reaches its end (made when missing); without such a
// token the one closing the list (made when missing).
EndAnnotation* end_marker_for(AnnotationCollection& list, Concept& concept_, Annotation* token) {
    if (token) {
        if (token->next && token->next->type == annotation_end)
            return static_cast<EndAnnotation*>(token->next);
        auto* marker = new EndAnnotation(token->end);
        list.insert(token->next, marker);
        return marker;
    }
    if (list.tail && list.tail->type == annotation_end)
        return static_cast<EndAnnotation*>(list.tail);
    auto* marker = new EndAnnotation(concept_.begin);
    marker->end = concept_.end;
    list.push_back(marker);
    return marker;
}

} // namespace

void read_json_morph_data(std::list<MorphData>& readings, const json& list) {
    read_readings(readings, list, 0);
}

void add_sentence(const json& sentence, AnnotationCollection& collection) {
    const json& fields = entries(sentence, 4, "a sentence");
    (void)whole_number(fields[0]);
    const uint32_t begin = offset(whole_number(fields[1]));
    const uint32_t end = offset(whole_number(fields[2]));
    check_span("sentence", begin, end);
    const Annotation* previous = collection.tail;
    if (previous && previous->type == annotation_sentence && begin < previous->end) {
        std::ostringstream message;
        message << "sentence [" << begin << ", " << end << "] begins before the end "
                << previous->end << " of the sentence before it.";
        fail(message);
    }

    // Built apart and appended whole, so a failure leaves nothing behind.
    auto made = std::make_unique<Sentence>(begin, end);
    auto* head = new Concept(begin, end, "Sentence");
    made->annotations.push_back(head);
    if (fields.size() >= 5)
        add_attributes(*head, fields[4]);

    bool first_concept = true;
    uint32_t previous_begin = begin;
    for_each_in_list(fields[3], [&](const json& element) {
        const json& item = entries(element, 3, "an item");
        const int64_t kind = whole_number(item[0]);
        const int64_t item_begin_number = whole_number(item[1]);
        const int64_t item_end_number = whole_number(item[2]);
        if (kind == annotation_token) {
            entries(item, 6, "a token");
            const uint32_t item_begin = offset(item_begin_number);
            const uint32_t item_end = offset(item_end_number);
            check_item(*made, item_begin, item_end, previous_begin);
            auto* token = new Token(item_begin, item_end, item[3].get<std::string>());
            made->annotations.push_back(token);
            for_each_in_list(item[4], [token](const json& property) {
                token->properties.insert(property.get<std::string>());
            });
            read_json_morph_data(token->readings, item[5]);
            previous_begin = item_begin;
        } else if (kind == annotation_concept) {
            entries(item, 4, "a concept");
            std::string uri = item[3].get<std::string>();
            const bool sentence_concept = first_concept && uri == "Sentence";
            first_concept = false;
            // The sentence concept exists already; its attributes come from
            // the sentence itself.
            if (sentence_concept)
                return;
            const uint32_t item_begin = offset(item_begin_number);
            const uint32_t item_end = offset(item_end_number);
            check_item(*made, item_begin, item_end, previous_begin);
            auto* concept_ = new Concept(item_begin, item_end, uri);
            made->annotations.push_back(concept_);
            if (item.size() >= 5)
                add_attributes(*concept_, item[4]);
            previous_begin = item_begin;
        }
    });
    collection.push_back(made.release());
}

void json_to_dez_results_v2(JsonToResult& result, const char* text, std::size_t length) {
    try {
        if (!text && length > 0)
            throw std::runtime_error("no JSON text given.");
        const char* begin = text ? text : "";
        const json root = json::parse(begin, begin + (text ? length : 0));
        static const char* const missing = "Invalid document object, missing 'sentence' section.";
        if (!root.is_object())
            throw std::runtime_error(missing);
        if (root.contains("language"))
            result.language = root["language"].get<std::string>();
        if (root.contains("id"))
            result.id = root["id"].get<std::string>();

        static const json none;
        const json* sentences = &none;
        if (root.contains("document")) {
            const json& document = root["document"];
            if (document.is_object()) {
                if (document.contains("sentences"))
                    sentences = &document["sentences"];
            } else if (!document.is_null()) {
                (void)document.at("sentences");
            }
        } else if (root.contains("sentences")) {
            sentences = &root["sentences"];
        } else {
            throw std::runtime_error(missing);
        }
        for_each_in_list(*sentences,
                         [&](const json& sentence) { add_sentence(sentence, result.collection); });
    } catch (const std::exception& e) {
        throw std::runtime_error(std::string("Invalid tlx/json format,") + e.what());
    }
}

void results_to_annotations_v2(Blackboard& document, JsonToResult& result) {
    document.set_language(result.language);
    if (!result.id.empty())
        document.set_own_option("id", result.id);

    // The result stages its sentences in a collection of its own.
    AnnotationCollection& sentences = *document.annotations;
    Annotation* before = sentences.tail;
    while (Annotation* sentence = result.collection.head) {
        result.collection.unlink(sentence);
        sentences.push_back(sentence);
    }
    Annotation* first = before ? before->next : sentences.head;

    for (Annotation* a = first; a; a = a->next) {
        if (a->type != annotation_sentence)
            continue;
        auto* sentence = static_cast<Sentence*>(a);
        document.sentences.emplace_back(sentence->begin, SentenceInfo(sentence));
        AnnotationCollection& list = sentence->annotations;
        // A concept ends in its own sentence: the import keeps every item
        // inside the sentence that holds it. Each concept is paired with the
        // number of tokens before it.
        std::vector<Annotation*> tokens;
        std::vector<std::pair<Concept*, std::size_t>> concepts;
        for (Annotation* b = list.head; b; b = b->next) {
            if (b->type == annotation_token)
                tokens.push_back(b);
            else if (b->type == annotation_concept &&
                     !static_cast<Concept*>(b)->flags.test(Concept::deleted))
                concepts.emplace_back(static_cast<Concept*>(b), tokens.size());
        }
        const TokenReach reach(tokens);
        for (const auto& [concept_, tokens_before] : concepts) {
            if (concept_->uri != "Sentence")
                concept_->flags.set(Concept::import);
            EndAnnotation* marker =
                end_marker_for(list, *concept_, reach.first(tokens_before, concept_->end));
            // In the order the concepts are met.
            marker->concepts.push_back(concept_);
            concept_->end_annotation = marker;
        }
        list.push_back(new EndOfStream(sentence->end));
    }
}

void json_to_annotations_v2(Blackboard& document, const char* json, std::size_t length) {
    // The sentences wait here until the whole text has been read.
    AnnotationCollection staged;
    JsonToResult result(staged);
    json_to_dez_results_v2(result, json, length);
    results_to_annotations_v2(document, result);
}

} // namespace dez::trelix

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <functional>
#include <list>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/result_import.h"
#include "document/blackboard.h"
#include "document/concept.h"
#include "document/end_annotation.h"
#include "document/morph_data.h"
#include "document/token.h"
#include "tests/core-afst/error_of.h"
#include "tests/document/blackboard_fixture.h"

namespace dez::trelix {
namespace {

// The text of the exception a call throws, "<no exception>" without one.
const auto failure_of = afst_test::error_of;

// One line per document: "S<begin>-<end>:" per sentence followed by its
// annotations, " | " between sentences. C concept (a trailing '*' when it is
// marked for output), T token, E end marker with its concepts, # end of
// stream.
std::string describe(const Blackboard& document) {
    std::ostringstream out;
    for (const Annotation* s = document.annotations->head; s; s = s->next) {
        if (s != document.annotations->head)
            out << " | ";
        out << 'S' << s->begin << '-' << s->end << ':';
        for (const Annotation* a = static_cast<const Sentence*>(s)->annotations.head; a;
             a = a->next) {
            switch (a->type) {
            case annotation_concept: {
                const auto* c = static_cast<const Concept*>(a);
                out << " C" << a->begin << '-' << a->end << ':' << c->uri
                    << (c->flags.test(Concept::import) ? "*" : "");
                break;
            }
            case annotation_token:
                out << " T" << a->begin << '-' << a->end << ':'
                    << static_cast<const Token*>(a)->literal;
                break;
            case annotation_end: {
                out << " E" << a->begin << '-' << a->end << '[';
                const auto& ending = static_cast<const EndAnnotation*>(a)->concepts;
                for (std::size_t i = 0; i < ending.size(); ++i)
                    out << (i ? "," : "") << static_cast<const Concept*>(ending[i])->uri;
                out << ']';
                break;
            }
            case annotation_end_of_stream:
                out << " #" << a->begin;
                break;
            default:
                out << " ?";
            }
        }
    }
    return out.str();
}

std::string attributes_of(const Concept& concept_) {
    std::ostringstream out;
    for (const auto& entry : concept_.attributes.attributes)
        out << entry.first << '=' << to_string(entry.second) << ';';
    return out.str();
}

std::string readings_of(const std::list<MorphData>& readings) {
    std::ostringstream out;
    for (const MorphData& r : readings) {
        out << '[' << r.stem << ' ' << r.pos;
        for (const std::string& tag : r.tags)
            out << ' ' << tag;
        if (!r.components.empty())
            out << " (" << readings_of(r.components) << ')';
        out << ']';
    }
    return out.str();
}

struct ResultImport : ::testing::Test {
    std::unique_ptr<Blackboard> import(const std::string& json) {
        auto document = fixture::make_blackboard(analyzer);
        // As the analyzer does before it imports.
        document->set_analyzer(analyzer.handle.analyzer);
        json_to_annotations_v2(*document, json.data(), json.size());
        return document;
    }

    fixture::TestAnalyzer analyzer;
};

TEST_F(ResultImport, ARealResultComesBackWhole) {
    std::ifstream file(std::string(TRELIX_TEST_DATA) + "/analysis/result_v2.json");
    std::stringstream text;
    text << file.rdbuf();
    auto options = fixture::options("{}");
    auto document = std::make_unique<Blackboard>(&analyzer.handle, options, nullptr, 0);
    document->set_analyzer(analyzer.handle.analyzer);
    const std::string json = text.str();
    json_to_annotations_v2(*document, json.data(), json.size());

    EXPECT_EQ(describe(*document),
              "S0-16: C0-16:Sentence C0-10:Person* T0-4:Anna C5-10:LastName* T5-10:Smith "
              "E10-10[Person,LastName] T11-16:walks E16-16[Sentence] #16 | "
              "S17-23: C17-23:Sentence C17-23:Place* T17-23:Berlin E23-23[Sentence,Place] #23");
    EXPECT_EQ(document->language, "german");
    ASSERT_FALSE(analyzer.engine->requests.empty());
    EXPECT_EQ(analyzer.engine->requests.back(), "german");
    EXPECT_EQ(document->options->get("id"), "doc-42");
    EXPECT_FALSE(options->has("id")) << "the caller's options stay as they were";

    ASSERT_EQ(document->sentences.size(), 2u);
    EXPECT_EQ(document->sentences[0].first, 0u);
    EXPECT_EQ(document->sentences[1].first, 17u);
    EXPECT_EQ(document->sentences[1].second.sentence, document->annotations->tail);

    auto* first = static_cast<Sentence*>(document->annotations->head);
    const auto* sentence_concept = static_cast<const Concept*>(first->annotations.head);
    EXPECT_EQ(attributes_of(*sentence_concept), "lang=de;") << "only the sentence's own";
    const auto* person = static_cast<const Concept*>(sentence_concept->next);
    EXPECT_EQ(attributes_of(*person), "gender=f;tags=a;tags=b;");
    EXPECT_EQ(person->end_annotation, fixture::token_at(*first, 1)->next);

    const Token* anna = fixture::token_at(*first, 0);
    EXPECT_EQ(anna->properties, (std::set<std::string>{"abbrev", "cap"}));
    EXPECT_EQ(readings_of(anna->readings), "[Anna Prop Fem]");
    EXPECT_EQ(readings_of(fixture::token_at(*first, 1)->readings),
              "[smith Prop][smith Noun Sg ([sm Pref][ith Noun])]");
    const Token* walks = fixture::token_at(*first, 2);
    EXPECT_EQ(readings_of(walks->readings), "[walk Verb Pres]") << "numbers and objects ignored";
    for (const Token* token : {anna, walks})
        for (const MorphData& reading : token->readings) {
            EXPECT_EQ(reading.weight, 1.0);
            EXPECT_EQ(reading.pos_id, MorphData(reading.pos, reading.stem, 1.0).pos_id);
        }
}

TEST_F(ResultImport, LayoutRules) {
    struct Case {
        const char* json;
        const char* expected;
    };
    const Case cases[] = {
        {R"({"sentences": []})", ""},
        {R"({"document": {}})", ""},
        {R"({"document": null, "sentences": [[1, 0, 1, []]]})", ""},
        {R"({"document": {"sentences": [[1, 0, 2, []]]}, "sentences": [[1, 5, 9, []]]})",
         "S0-2: C0-2:Sentence E0-2[Sentence] #2"},
        {R"({"sentences": [[1, 0, 10, []]]})", "S0-10: C0-10:Sentence E0-10[Sentence] #10"},
        // Lists: an object gives its values in key order, a single value itself.
        {R"({"sentences": {"b": [1, 5, 9, []], "a": [1, 0, 4, []]}})",
         "S0-4: C0-4:Sentence E0-4[Sentence] #4 | S5-9: C5-9:Sentence E5-9[Sentence] #9"},
        {R"({"sentences": [[1, 0, 4, {"only": [3, 0, 4, "One", "cap", null]}]]})",
         "S0-4: C0-4:Sentence T0-4:One E4-4[Sentence] #4"},
        // Other kinds are skipped; kinds and offsets are truncated numbers.
        {R"({"sentences": [[true, 0, 9, [[4, 5, 9], [1, 5, 9], [2.9, 0.7, 3, "X"], [3, 0, 3, "abc", [], []]]]]})",
         "S0-9: C0-9:Sentence C0-3:X* T0-3:abc E0-9[Sentence,X] #9"},
        // A leading "Sentence" item is the sentence concept; a later one is not.
        {R"({"sentences": [[1, 0, 3, [[2, 0, 3, "Sentence"], [3, 0, 3, "abc", [], []], [2, 0, 3, "Sentence"]]]]})",
         "S0-3: C0-3:Sentence T0-3:abc E3-3[Sentence] C0-3:Sentence E0-3[Sentence] #3"},
        // Without a leading "Sentence" item there is still one sentence concept.
        {R"({"sentences": [[1, 0, 3, [[2, 0, 3, "Topic"], [3, 0, 3, "abc", [], []]]]]})",
         "S0-3: C0-3:Sentence C0-3:Topic* T0-3:abc E3-3[Sentence,Topic] #3"},
        // Each concept ends after the first token from it on that reaches its end.
        {R"({"sentences": [[1, 0, 9, [[2, 0, 9, "Sentence"], [2, 0, 6, "A"], [3, 0, 3, "ab", [], []], [2, 3, 4, "B"], [3, 3, 4, "c", [], []], [3, 4, 6, "de", [], []], [3, 6, 9, "fgh", [], []]]]]})",
         "S0-9: C0-9:Sentence C0-6:A* T0-3:ab C3-4:B* T3-4:c E4-4[B] T4-6:de E6-6[A] T6-9:fgh "
         "E9-9[Sentence] #9"},
        // Concepts after the last token end in the sentence's last marker.
        {R"({"sentences": [[1, 0, 6, [[3, 0, 3, "abc", [], []], [2, 4, 6, "Late"]]]]})",
         "S0-6: C0-6:Sentence T0-3:abc C4-6:Late* E0-6[Sentence,Late] #6"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.json);
        auto document = import(c.json);
        EXPECT_EQ(describe(*document), c.expected);
        std::size_t sentences = 0;
        for (const Annotation* a = document->annotations->head; a; a = a->next)
            ++sentences;
        EXPECT_EQ(document->sentences.size(), sentences);
    }
}

TEST_F(ResultImport, AttributeRules) {
    struct Case {
        const char* attributes;
        const char* expected;
    };
    const Case cases[] = {
        {R"({"gender": "f", "tags": ["a", "b"]})", "gender=f;tags=a;tags=b;"},
        {R"({"z": "1", "a": {"k": "2"}})", "a=2;z=1;"},
        {R"(["x", ["y", "z"], null])", "0=x;1=y;1=z;"},
        {R"("alone")", "=alone;"},
        {"null", ""},
        {"{}", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.attributes);
        auto document = import(std::string(R"({"sentences": [[1, 0, 3, [[2, 0, 3, "X", )") +
                               c.attributes + "]], " + c.attributes + "]]}");
        auto* sentence = static_cast<Sentence*>(document->annotations->head);
        const auto* head = static_cast<const Concept*>(sentence->annotations.head);
        const auto* item = static_cast<const Concept*>(head->next);
        EXPECT_EQ(attributes_of(*head), c.expected);
        EXPECT_EQ(attributes_of(*item), c.expected);
    }
}

// Every failure names its cause after "Invalid tlx/json format," and leaves
// the document as it was.
TEST_F(ResultImport, RejectedInput) {
    struct Case {
        const char* json;
        const char* cause; // what follows "Invalid tlx/json format,", or some of it
    };
    const Case cases[] = {
        {"[]", "Invalid document object, missing 'sentence' section."},
        {R"({"language": "english"})", "Invalid document object, missing 'sentence' section."},
        {"{", "[json.exception.parse_error"},
        {R"({"sentences": []} // note)", "[json.exception.parse_error"},
        {R"({"sentences": []} x)", "[json.exception.parse_error"},
        {"", "[json.exception.parse_error"},
        {R"({"language": 5, "sentences": []})", "type must be string, but is number"},
        {R"({"id": null, "sentences": []})", "type must be string, but is null"},
        {R"({"document": 5})", "cannot use at() with number"},
        {R"({"sentences": [5]})", "cannot use at() with number"},
        {R"({"sentences": [[1, 0, 9, [{"a": 3}]]]})", "cannot use at() with object"},
        {R"({"sentences": [["1", 0, 9, []]]})", "type must be number, but is string"},
        {R"({"sentences": [[1, 0, null, []]]})", "type must be number, but is null"},
        {R"({"sentences": [[1, 0, 9, [[2, 0, 3, "X", {"k": 1}]]]]})",
         "type must be string, but is number"},
        {R"({"sentences": [[1, 0, 9, [], {"k": [true]}]]})", "type must be string, but is boolean"},
        {R"({"sentences": [[1, 0, 9, [[3, 0, 3, 7, [], []]]]]})",
         "type must be string, but is number"},
        {R"({"sentences": [[1, 0, 9, [[3, 0, 3, "x", [1], []]]]]})",
         "type must be string, but is number"},
        {R"({"sentences": [[1, 0, 9, [[3, 0, 3, "x", [], [[1, "Noun"]]]]]]})",
         "type must be string, but is number"},
        // Arrays too short for what they hold.
        {R"({"sentences": [[1, 0, 9]]})", "a sentence needs 4 entries, found 3."},
        {R"({"sentences": [[1, 0, 9, [[3, 0]]]]})", "an item needs 3 entries, found 2."},
        {R"({"sentences": [[1, 0, 9, [[4]]]]})", "an item needs 3 entries, found 1."},
        {R"({"sentences": [[1, 0, 9, [[3, 0, 3, "x", []]]]]})",
         "a token needs 6 entries, found 5."},
        {R"({"sentences": [[1, 0, 9, [[2, 0, 3]]]]})", "a concept needs 4 entries, found 3."},
        {R"({"sentences": [[1, 0, 9, [[3, 0, 3, "x", [], [["x"]]]]]]})",
         "a reading needs 2 entries, found 1."},
        {R"({"sentences": [[1, 0, 9, [[3, 0, 3, "x", [], [["x", "N", [[]]]]]]]]})",
         "a reading needs 2 entries, found 0."},
        // Offsets that run backwards or leave their sentence.
        {R"({"sentences": [[1, 9, 4, []]]})", "sentence [9, 4] ends before it begins."},
        {R"({"sentences": [[1, 0, 9, []], [1, 5, 12, []]]})",
         "sentence [5, 12] begins before the end 9 of the sentence before it."},
        {R"({"sentences": [[1, 0, 9, [[3, 3, 2, "x", [], []]]]]})",
         "item [3, 2] ends before it begins."},
        {R"({"sentences": [[1, 4, 9, [[3, 2, 5, "x", [], []]]]]})",
         "item [2, 5] lies outside its sentence [4, 9]."},
        {R"({"sentences": [[1, 0, 9, [[2, 5, 12, "X"]]]]})",
         "item [5, 12] lies outside its sentence [0, 9]."},
        {R"({"sentences": [[1, 0, 9, [[3, 4, 6, "y", [], []], [3, 0, 3, "x", [], []]]]]})",
         "item [0, 3] begins before the item before it (at 4)."},
        {R"({"sentences": [[1, -1, 9, []]]})", "offset out of range: -1."},
        {R"({"sentences": [[1, 0, 2147483648, []]]})", "offset out of range: 2147483648."},
        {R"({"sentences": [[1, 0, 9, [[3, 0, 1e300, "x", [], []]]]]})",
         "offset out of range: 9223372036854775807."},
        // A later sentence failing takes the earlier ones with it.
        {R"({"language": "german", "id": "x", "sentences": [[1, 0, 3, [[3, 0, 3, "abc", [], []]]], [1, 4, 9, [[3, 4, 9]]]]})",
         "a token needs 6 entries, found 3."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.json);
        auto options = fixture::options(R"({"id": "before"})");
        auto document = std::make_unique<Blackboard>(&analyzer.handle, options, nullptr, 0);
        document->set_analyzer(analyzer.handle.analyzer);
        const std::string json = c.json;
        const std::string failure =
            failure_of([&] { json_to_annotations_v2(*document, json.data(), json.size()); });
        const std::string prefix = "Invalid tlx/json format,";
        EXPECT_EQ(failure.rfind(prefix, 0), 0u) << failure;
        EXPECT_NE(failure.find(c.cause, prefix.size()), std::string::npos) << failure;
        if (std::string(c.cause).back() == '.' && std::string(c.cause).rfind("[json", 0) != 0) {
            EXPECT_EQ(failure, prefix + c.cause);
        }
        EXPECT_EQ(document->annotations->head, nullptr);
        EXPECT_TRUE(document->sentences.empty());
        EXPECT_EQ(document->language, "english");
        EXPECT_EQ(document->options->get("id"), "before");
    }
}

TEST_F(ResultImport, ReadingsNestOnlySoDeep) {
    auto nested = [](int depth) {
        std::string reading;
        for (int i = 0; i < depth; ++i)
            reading += R"(["s", "N", [)";
        reading += R"(["leaf", "N"])";
        for (int i = 0; i < depth; ++i)
            reading += "]]";
        return R"({"sentences": [[1, 0, 3, [[3, 0, 3, "x", [], [)" + reading + "]]]]]}";
    };
    auto document = import(nested(64));
    EXPECT_EQ(
        fixture::token_at(*static_cast<Sentence*>(document->annotations->head), 0)->readings.size(),
        1u);
    EXPECT_EQ(failure_of([&] { import(nested(65)); }),
              "Invalid tlx/json format,readings nested deeper than 64 levels.");
    EXPECT_EQ(failure_of([&] { import(nested(100000)); }),
              "Invalid tlx/json format,readings nested deeper than 64 levels.");
}

// The import reads the bytes it is given and no more.
TEST_F(ResultImport, ReadsExactlyTheGivenLength) {
    const std::string json = R"({"sentences": [[1, 0, 3, []]]})";
    // No terminating NUL: a read past the length would leave the buffer.
    std::vector<char> bare(json.begin(), json.end());
    auto document = fixture::make_blackboard(analyzer);
    json_to_annotations_v2(*document, bare.data(), bare.size());
    EXPECT_EQ(describe(*document), "S0-3: C0-3:Sentence E0-3[Sentence] #3");

    // Bytes past the length are not read, whatever they are.
    const std::string longer = json + R"( {"more": 1})";
    document = fixture::make_blackboard(analyzer);
    json_to_annotations_v2(*document, longer.data(), json.size());
    EXPECT_EQ(document->sentences.size(), 1u);

    // A NUL byte ends the text as the JSON parser reads it.
    const std::string with_nul = json + std::string(1, '\0') + "garbage";
    document = fixture::make_blackboard(analyzer);
    json_to_annotations_v2(*document, with_nul.data(), with_nul.size());
    EXPECT_EQ(document->sentences.size(), 1u);

    // A length that cuts the text short is a parse error.
    document = fixture::make_blackboard(analyzer);
    EXPECT_NE(failure_of([&] {
                  json_to_annotations_v2(*document, json.data(), 10);
              }).find("[json.exception.parse_error"),
              std::string::npos);
    EXPECT_EQ(failure_of([&] { json_to_annotations_v2(*document, nullptr, 4); }),
              "Invalid tlx/json format,no JSON text given.");
    EXPECT_EQ(document->annotations->head, nullptr);
}

TEST_F(ResultImport, LanguageAndId) {
    struct Case {
        const char* json;
        const char* language;
        bool has_id;
        const char* id;
    };
    const Case cases[] = {
        {R"({"sentences": [], "language": "german", "id": "d1"})", "german", true, "d1"},
        // The language is set also when the result has none.
        {R"({"sentences": [], "id": ""})", "", false, ""},
        {R"({"sentences": []})", "", false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.json);
        auto document = import(c.json);
        EXPECT_EQ(document->language, c.language);
        EXPECT_EQ(document->options->has("id"), c.has_id);
        EXPECT_EQ(document->options->get("id"), c.id);
    }
}

} // namespace
} // namespace dez::trelix

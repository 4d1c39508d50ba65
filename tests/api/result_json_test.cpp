#include <gtest/gtest.h>

#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "api/offset_mappers.h"
#include "api/token_text_streams.h"
#include "foundation/exception.h"
#include "tests/api/result_fixture.h"

namespace dez::trelix {
namespace {

using fixture::TestResult;
using fixture::token_at;
using fixture::v2_of;

TEST(ResultJson, GoldenExample) {
    TestResult result(R"({"id":"d1"})");
    fixture::example_sentence(result);
    EXPECT_EQ(
        v2_of(result.document),
        R"({"id":"d1","language":"english","sentences":[ [1,0,9,[[3,0,2,"Hi",[],[["hi", "Interj"]]],)"
        R"([2,3,8,"City",{"country":["fr"]}],[3,3,8,"Paris",["init-cap"],[["Paris", "Prop-Std"]]],)"
        R"([3,8,9,".",[],[[".", "Punct-Sent"]]]]]]})");
}

// What the importer of earlier results reads back: every array where the
// layout puts it, as strict JSON.
TEST(ResultJson, LayoutTheImporterReads) {
    TestResult result(R"({"id":"d1"})");
    fixture::example_sentence(result);
    token_at(*result.document.sentences[0].second.sentence, 1)
        ->readings.front()
        .components.emplace_back("Nn", "par", 1.0);
    const auto json = nlohmann::json::parse(v2_of(result.document));
    EXPECT_EQ(json.at("id"), "d1");
    EXPECT_EQ(json.at("language"), "english");
    const auto& sentence = json.at("sentences").at(0);
    EXPECT_EQ(sentence.at(0), 1);
    const auto& items = sentence.at(3);
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items.at(1), nlohmann::json::parse(R"([2,3,8,"City",{"country":["fr"]}])"));
    EXPECT_EQ(items.at(2).at(5), nlohmann::json::parse(R"([["Paris","Prop-Std",[["par","Nn"]]]])"));
}

TEST(ResultJson, DocumentMembers) {
    struct Case {
        const char* name;
        const char* document_options;
        const char* analyzer_options;
        std::string language;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"no sentences: one blank in the array", "{}", "{}", "english",
         R"({"language":"english","sentences":[ ]})"},
        {"id with a quote is escaped", R"({"id":"a\"b"})", "{}", "english",
         R"({"id":"a\"b","language":"english","sentences":[ ]})"},
        {"id only in the analyzer options is not written", "{}", R"({"id":"x"})", "english",
         R"({"language":"english","sentences":[ ]})"},
        {"language is escaped", "{}", "{}", "en\"g", R"({"language":"en\"g","sentences":[ ]})"},
    };
    for (const Case& c : cases) {
        TestResult result(c.document_options, c.analyzer_options);
        result.document.language = c.language;
        EXPECT_EQ(v2_of(result.document), c.expected) << c.name;
    }
}

TEST(ResultJson, TokensAndReadings) {
    TestResult result;
    Sentence* s = result.sentence({{"a\"b", 0, 3}, {"c", 4, 5}});
    Token* first = token_at(*s, 0);
    first->properties = {"_x", "", "abbrev", "q\"p"};
    MorphData reading("P\"os", "st\\em", 1.0);
    reading.tags = {"_hidden", "", "Pl", "t\"g"};
    reading.components.emplace_back("Nn", "part", 1.0);
    reading.components.back().tags = {"_no", "Sg"};
    first->readings.push_back(reading);
    EXPECT_EQ(
        v2_of(result.document),
        R"({"language":"english","sentences":[ [1,0,5,[)"
        R"([3,0,3,"a\"b",["abbrev","q\"p"],[["st\\em", "P\"os","","Pl","t\"g",[["part", "Nn","Sg"]]]]],)"
        R"([3,4,5,"c",[],[]]]]]})");
}

TEST(ResultJson, ConceptAttributes) {
    struct Case {
        const char* name;
        const char* analyzer_options;
        std::vector<std::pair<std::string, std::string>> attributes;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"none", "{}", {}, "{}"},
        {"two values of one name", "{}", {{"k", "1"}, {"k", "2"}}, R"({"k":["1","2"]})"},
        {"names in order, escaped",
         "{}",
         {{"b", "x\"y"}, {"a\"", "1"}},
         R"({"a\"":["1"],"b":["x\"y"]})"},
        {"underscore names hidden", "{}", {{"_rule", "r"}, {"a", "1"}}, R"({"a":["1"]})"},
        {"underscore names with rule information",
         R"({"dbg":"rule_info"})",
         {{"_rule", "r"}, {"a", "1"}},
         R"({"_rule":["r"],"a":["1"]})"},
        {"inherit never",
         R"({"dbg":"rule_info"})",
         {{"inherit_x", "1"}, {"a", "1"}},
         R"({"a":["1"]})"},
    };
    for (const Case& c : cases) {
        TestResult result("{}", c.analyzer_options);
        Sentence* s = result.sentence({{"X", 0, 1}});
        Concept* concept_ = fixture::add_concept(*s, token_at(*s, 0), token_at(*s, 0), "C\"x");
        concept_->flags.set(Concept::import);
        for (const auto& [key, value] : c.attributes)
            concept_->add(key, value, store_own);
        EXPECT_EQ(v2_of(result.document),
                  R"({"language":"english","sentences":[ [1,0,1,[[2,0,1,"C\"x",)" + c.expected +
                      R"(],[3,0,1,"X",[],[]]]]]})")
            << c.name;
    }
}

TEST(ResultJson, SentenceAttributesFromTheLeadingConcept) {
    TestResult result;
    Sentence* s = result.sentence({{"X", 0, 1}});
    auto* head = static_cast<Concept*>(s->annotations.head);
    head->add("_rule", "r", store_own);
    head->add("topic", "t", store_own);
    // The "Sentence" concept is not imported: not an item, but its
    // attributes are the sentence's.
    EXPECT_EQ(
        v2_of(result.document),
        R"({"language":"english","sentences":[ [1,0,1,[[3,0,1,"X",[],[]]],{"topic":["t"]}]]})");
}

TEST(ResultJson, ConceptFilters) {
    struct Case {
        const char* name;
        const char* uri;
        bool imported;
        bool deleted;
        // Written by: default, "__debug__", "__compiler__".
        bool by_default;
        bool by_debug;
        bool by_compiler;
    };
    const std::vector<Case> cases = {
        {"imported", "City", true, false, true, true, true},
        {"not imported", "City", false, false, false, true, true},
        {"imported, deleted", "City", true, true, false, true, false},
        {"internal '$'", "$tmp", true, false, false, true, true},
        {"internal ':' not imported", ":x", false, false, false, true, false},
        {"deleted filter concept", "tlx::filter:x", false, true, false, true, true},
        {"empty uri", "", true, false, true, true, true},
    };
    for (const Case& c : cases) {
        const std::vector<std::pair<const char*, bool>> views = {
            {"{}", c.by_default},
            {R"({"annotation_filter":"__debug__"})", c.by_debug},
            {R"({"annotation_filter":"__compiler__"})", c.by_compiler},
            {R"({"annotation_filter":"other"})", c.by_default},
        };
        for (const auto& [options, written] : views) {
            TestResult result(options);
            Sentence* s = result.sentence({{"X", 0, 1}});
            Concept* concept_ = fixture::add_concept(*s, token_at(*s, 0), token_at(*s, 0), c.uri);
            concept_->flags.set(Concept::import, c.imported);
            concept_->flags.set(Concept::deleted, c.deleted);
            const std::string item = std::string("[2,0,1,\"") + c.uri + "\",{}]";
            EXPECT_EQ(v2_of(result.document).find(item) != std::string::npos, written)
                << c.name << " with " << options;
        }
    }
    // The filter is also read from the analyzer's options.
    TestResult result("{}", R"({"annotation_filter":"__debug__"})");
    Sentence* s = result.sentence({{"X", 0, 1}});
    fixture::add_concept(*s, token_at(*s, 0), token_at(*s, 0), "Plain");
    EXPECT_NE(v2_of(result.document).find("\"Plain\""), std::string::npos);
}

TEST(ResultJson, Offsets) {
    // "é" takes two bytes: the token after it starts at byte 3, character 2.
    const std::string text = "\xC3\xA9 ab";
    struct Case {
        const char* name;
        const char* document_options;
        bool table;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"bytes by default", "{}", true,
         "[1,0,5,[[3,0,2,\"\xC3\xA9\",[],[]],[3,3,5,\"ab\",[],[]]]]"},
        {"characters when asked", R"({"unicode_offset":"true"})", true,
         "[1,0,4,[[3,0,1,\"\xC3\xA9\",[],[]],[3,2,4,\"ab\",[],[]]]]"},
        {"text input asks too", R"({"unicode_offset":"yes","input_type":"text"})", true,
         "[1,0,4,[[3,0,1,\"\xC3\xA9\",[],[]],[3,2,4,\"ab\",[],[]]]]"},
        {"json input keeps bytes", R"({"unicode_offset":"true","input_type":"json"})", true,
         "[1,0,5,[[3,0,2,\"\xC3\xA9\",[],[]],[3,3,5,\"ab\",[],[]]]]"},
        {"no table: bytes", R"({"unicode_offset":"true"})", false,
         "[1,0,5,[[3,0,2,\"\xC3\xA9\",[],[]],[3,3,5,\"ab\",[],[]]]]"},
    };
    for (const Case& c : cases) {
        TestResult result(c.document_options, "{}", text);
        if (!c.table)
            result.document.offset_table.reset();
        result.sentence({{"\xC3\xA9", 0, 2}, {"ab", 3, 5}});
        EXPECT_EQ(v2_of(result.document),
                  R"({"language":"english","sentences":[ )" + c.expected + "]}")
            << c.name;
    }
}

TEST(ResultJson, UnicodeMapperStaysInItsTable) {
    const std::vector<uint32_t> table = {0, 0, 1, 2};
    const v2::UnicodeMapper mapper(table);
    EXPECT_EQ(mapper(2), 1u);
    EXPECT_EQ(mapper(3), 2u);
    EXPECT_EQ(mapper(4), 2u);
    EXPECT_EQ(mapper(1000), 2u);
    const std::vector<uint32_t> none;
    EXPECT_EQ(v2::UnicodeMapper(none)(7), 7u);
}

// A buffer that refuses every byte, as a full disk or a closed pipe would.
class FailingBuffer : public std::streambuf {
protected:
    int_type overflow(int_type) override { return traits_type::eof(); }
};

TEST(ResultJson, FailedStreamIsReported) {
    TestResult result;
    fixture::example_sentence(result);
    FailingBuffer buffer;
    std::ostream out(&buffer);
    EXPECT_THROW(stream_json_api_format(result.document, out), dez::Exception);
    std::ostream internal(&buffer);
    EXPECT_THROW(stream_internal_results_json_format(result.document, internal), dez::Exception);
    std::ostream metadata(&buffer);
    EXPECT_THROW(stream_json_api_metadata(result.document, metadata), dez::Exception);
}

TEST(TokenTextStreams, LiteralsAndStemsOfAConcept) {
    TestResult result;
    // "New York-based ." with "-" adjacent to its neighbours; "based" has no
    // reading.
    Sentence* s = result.sentence(
        {{"New", 0, 3}, {"York", 4, 8}, {"-", 8, 9}, {"based", 9, 14}, {".", 15, 16}});
    token_at(*s, 0)->readings.emplace_back("Adj", "new", 1.0);
    token_at(*s, 1)->readings.emplace_back("Prop", "york", 1.0);
    token_at(*s, 2)->readings.emplace_back("Punct", "-", 1.0);
    Concept* c = fixture::add_concept(*s, token_at(*s, 0), token_at(*s, 3), "X");
    std::stringstream literal;
    v2::get_token_literal_stream(*c, literal);
    EXPECT_EQ(literal.str(), "New York-based");
    std::stringstream stem;
    v2::get_token_stem_stream(*c, stem);
    EXPECT_EQ(stem.str(), "new york-");
}

} // namespace
} // namespace dez::trelix

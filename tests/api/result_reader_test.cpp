#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>
#include <string>

#include <nlohmann/json.hpp>

#include "api/sdk/json_to_dez_results_v2.h"
#include "tests/api/sdk_fixture.h"

namespace qvr::common {
namespace {

using fixture::read_data;
using fixture::SentenceList;

void describe_reading(std::ostream& out, const MorphData& reading) {
    out << "[" << reading.stem << "/" << reading.pos << " w" << reading.weight;
    for (const auto& tag : reading.tags)
        out << " +" << tag;
    for (const auto& component : reading.components)
        describe_reading(out, component);
    out << "]";
}

// Every field of the model, one annotation per line.
std::string describe(const RawPtrList<Annotation>& sentences) {
    std::ostringstream out;
    for (const Annotation* s = sentences.head; s; s = s->next) {
        out << "S" << s->type << " " << s->begin << "-" << s->end << "\n";
        for (const Annotation* a = static_cast<const Sentence*>(s)->annotations.head; a;
             a = a->next) {
            out << "  " << a->type << " " << a->begin << "-" << a->end;
            if (a->type == token_type) {
                const auto* token = static_cast<const Token*>(a);
                out << " '" << token->literal << "' (";
                for (const auto& property : token->properties)
                    out << property << ";";
                out << ")";
                for (const auto& reading : token->readings)
                    describe_reading(out, reading);
            } else if (a->type == concept_type) {
                const auto* concept_ = static_cast<const Concept*>(a);
                out << " " << concept_->uri << " '" << concept_->value << "'";
                for (const auto& [name, value] : concept_->attributes)
                    out << " " << name << "=" << value;
            }
            out << "\n";
        }
    }
    return out.str();
}

const char* const fixture_model = "S1 0-9\n"
                                  "  2 0-50 Overlong ''\n"
                                  "  3 0-2 'Hi' (init-cap;nf;)[hi/Int w1 +x]\n"
                                  "  2 3-8 Place '' country=FR type=city type=capital\n"
                                  "  3 3-8 'Paris' ()[Paris/Prop w1 +sg +sg[Par/Prop w1][is/Suf "
                                  "w1 +x]][paris/Noun w1]\n"
                                  "  3 8-9 '.' ()\n"
                                  "S1 10-14\n"
                                  "  2 10-14 Greeting ''\n"
                                  "  2 10-13 Word ''\n"
                                  "  3 10-13 'Bye' ()[bye/Int w1]\n"
                                  "  2 13-14 Stop '' kind=period\n"
                                  "  3 13-14 '.' ()\n";

TEST(ResultReader, ReadsBothDocumentFormsAlike) {
    const std::string top_level = read_data("result_v2.json");
    nlohmann::json wrapped = nlohmann::json::parse(top_level);
    wrapped["document"]["sentences"] = wrapped["sentences"];
    wrapped.erase("sentences");

    for (const std::string& text : {top_level, wrapped.dump()}) {
        SentenceList sentences;
        JsonToResult result(sentences.list);
        json_to_dez_results_v2(result, text.c_str());
        EXPECT_EQ(describe(sentences.list), fixture_model) << text;
        EXPECT_EQ(result.language, "en");
        EXPECT_EQ(result.id, "doc-7");
    }
}

TEST(ResultReader, SentenceContainersAndNumberForms) {
    struct Case {
        const char* json;
        const char* model;
    };
    const Case cases[] = {
        // Members of an object in key order; null holds nothing.
        {R"({"sentences":{"b":[1,5,6,[]],"a":[1,0,1,[]]}})", "S1 0-1\nS1 5-6\n"},
        {R"({"sentences":null})", ""},
        {R"({"sentences":[]})", ""},
        // Booleans and floating values are offsets too; the kind is dropped.
        {R"({"sentences":[[7,true,2.9,[[3,false,1.0,"a",[],[]]]]]})", "S1 1-2\n  3 0-1 'a' ()\n"},
        // A property given as one string; a concept attribute as one string.
        {R"({"sentences":[[1,0,3,[[3,0,3,"abc","p",[]],[2,0,3,"C",{"k":"v"}]]]]})",
         "S1 0-3\n  3 0-3 'abc' (p;)\n  2 0-3 C '' k=v\n"},
    };
    for (const Case& c : cases) {
        SentenceList sentences;
        JsonToResult result(sentences.list);
        json_to_dez_results_v2(result, c.json);
        EXPECT_EQ(describe(sentences.list), c.model) << c.json;
        EXPECT_EQ(result.language, "") << c.json;
        EXPECT_EQ(result.id, "") << c.json;
    }
}

TEST(ResultReader, RefusesMalformedResultsWithItsFormatError) {
    struct Case {
        const char* json;
        std::string message; // after "Invalid tlx/json format,"
    };
    const Case cases[] = {
        {R"({"language":"en"})", "Invalid document object, missing 'sentence' section."},
        {R"([[1,0,1,[]]])", "Invalid document object, missing 'sentence' section."},
        {R"({"document":{}})", "[json.exception.out_of_range.403] key 'sentences' not found"},
        {R"({"language":5,"sentences":[]})",
         "[json.exception.type_error.302] type must be string, but is number"},
        {R"({"sentences":[{"a":1}]})",
         "[json.exception.type_error.305] cannot use operator[] with a numeric argument with "
         "object"},
        {R"({"sentences":[[1,0,"x",[]]]})",
         "[json.exception.type_error.302] type must be number, but is string"},
        {R"({"sentences":[[1,0,5,["x"]]]})",
         "[json.exception.type_error.305] cannot use operator[] with a numeric argument with "
         "string"},
        {R"({"sentences":[[1,0,5,[[3,0,2,"Hi",[5],[]]]]]})",
         "[json.exception.type_error.302] type must be string, but is number"},
        {R"({"sentences":[[1,0,5,[[3,0,2,"Hi",[],[[1,"Int"]]]]]]})",
         "[json.exception.type_error.302] type must be string, but is number"},
        {R"({"sentences":[[1,0,5,[[2,0,2,"C",{"a":[1]}]]]]})",
         "[json.exception.type_error.302] type must be string, but is number"},
        // Short arrays are refused before they are read past their end.
        {R"({"sentences":[[1,0,5]]})", "sentence needs at least 4 elements, got 3"},
        {R"({"sentences":[[1,0,5,[[3,0]]]]})", "item needs at least 3 elements, got 2"},
        {R"({"sentences":[[1,0,5,[[3,0,2,"Hi",[]]]]]})", "token needs at least 6 elements, got 5"},
        {R"({"sentences":[[1,0,5,[[2,0,2]]]]})", "concept needs at least 4 elements, got 3"},
        {R"({"sentences":[[1,0,5,[[3,0,2,"Hi",[],[["hi"]]]]]]})",
         "reading needs at least 2 elements, got 1"},
        {R"({"sentences":[[1,0,5,[[3,0,2,"Hi",[],[["hi","Int",[[]]]]]]]]})",
         "reading needs at least 2 elements, got 0"},
        {R"({"sentences":[[1,0,5,[[2,0,2,7,{}]]]]})",
         "[json.exception.type_error.302] type must be string, but is number"},
        {R"({"sentences":[[1,0,5,[[3,0,2,null,[],[]]]]]})",
         "[json.exception.type_error.302] type must be string, but is null"},
        {R"({"sentences":[[1,0,1e300,[]]]})", "number out of range: 1e+300"},
        {R"({"sentences":[[1,-1.0,1,[]]]})", "number out of range: -1.0"},
    };
    for (const Case& c : cases) {
        SentenceList sentences;
        JsonToResult result(sentences.list);
        try {
            json_to_dez_results_v2(result, c.json);
            ADD_FAILURE() << "no error for " << c.json;
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(e.what(), "Invalid tlx/json format," + c.message) << c.json;
        }
    }
}

TEST(ResultReader, TextThatIsNotJsonFailsAsSuch) {
    for (const char* text :
         {"", "{\"sentences\":", "sentences", static_cast<const char*>(nullptr)}) {
        SentenceList sentences;
        JsonToResult result(sentences.list);
        try {
            json_to_dez_results_v2(result, text);
            ADD_FAILURE() << "no error for " << (text ? text : "null");
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(std::string(e.what()).rfind(
                          "Invalid tlx/json format,[json.exception.parse_error.101]", 0),
                      0u)
                << e.what();
        }
        EXPECT_TRUE(sentences.list.empty());
    }
}

TEST(ResultReader, DeeplyNestedReadingsAreRefused) {
    // ["s","N",[["s","N",[ ... ["leaf","N"] ... ]]]]
    const int levels = 1000;
    std::string readings;
    for (int level = 0; level < levels; ++level)
        readings += R"(["s","N",[)";
    readings += R"(["leaf","N"])";
    for (int level = 0; level < levels; ++level)
        readings += "]]";
    const std::string text = R"({"sentences":[[1,0,1,[[3,0,1,"w",[],[)" + readings + "]]]]]}";
    SentenceList sentences;
    JsonToResult result(sentences.list);
    try {
        json_to_dez_results_v2(result, text.c_str());
        ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Invalid tlx/json format,readings nested deeper than 64 levels");
    }
}

TEST(ResultReader, WhatWasReadBeforeAFailureStays) {
    // The second sentence is made before its broken token is reached; the
    // third is never begun. Everything made is owned by the list.
    const char* text = R"({"sentences":[[1,0,2,[[3,0,2,"ok",[],[]]]],)"
                       R"([1,3,5,[[3,3,4,"x",[],[]],[3,4,5,"y",[7],[]]]],[1,6,7,[]]]})";
    SentenceList sentences;
    JsonToResult result(sentences.list);
    EXPECT_THROW(json_to_dez_results_v2(result, text), std::runtime_error);
    EXPECT_EQ(describe(sentences.list), "S1 0-2\n  3 0-2 'ok' ()\nS1 3-5\n  3 3-4 'x' ()\n"
                                        "  3 4-5 'y' ()\n");
}

TEST(ResultReader, SentenceListDestroysItsSentences) {
    auto list = make_sentence_list();
    JsonToResult result(*list);
    json_to_dez_results_v2(result, read_data("result_v2.json").c_str());
    EXPECT_FALSE(list->empty());
    destroy_sentences(*list);
    EXPECT_TRUE(list->empty());
    json_to_dez_results_v2(result, read_data("result_v2.json").c_str());
    // The rest goes with the last owner (the sanitizer build checks for leaks).
}

} // namespace
} // namespace qvr::common

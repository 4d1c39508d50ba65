#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "api/dez_api.h"
#include "tests/analysis/hmm_fixture.h"
#include "tests/analysis/postagger_fixture.h"
#include "tests/core-afst/lexicon_fixture.h"
#include "tests/engine/engine_fixture.h"
#include "tests/api/handle_fixture.h"

// A text through the C interface on a language with tokenizer rules and a
// lexicon, down to the result JSON.

namespace dez::api {
namespace {

using dez::api::fixture::Record;
using dez::api::fixture::Held;

namespace fs = std::filesystem;

std::vector<std::string> lines_of(const fs::path& file) {
    std::ifstream in(file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// A copy of tests/data/road with its lexicon built, and an engine over it.
class CInterfaceRoad : public dez::trelix::fixture::EngineFixture {
protected:
    void SetUp() override {
        EngineFixture::SetUp();
        data = tree.folder("data");
        for (const auto& entry : fs::directory_iterator(fs::path(TRELIX_TEST_DATA) / "road"))
            fs::copy_file(entry.path(), data / entry.path().filename());
        ASSERT_TRUE(afst_test::build_lexicon(lines_of(data / "road.lexicon"))
                        ->Write((data / "road.morph").string()));
    }
    // The engine and the analyzer, once the case has put its files in place.
    void load() {
        const nlohmann::json options = {{"root_path", data.string()}, {"morfex", data.string()}};
        engine = dez_api_get_engine(options.dump().c_str(), 0, &error);
        ASSERT_NE(engine, nullptr) << error.message;
        // The first load builds the tokenizer and says so.
        testing::internal::CaptureStdout();
        analyzer = dez_api_get_analyzer(engine, R"({"language":"road"})", 0, &error);
        testing::internal::GetCapturedStdout();
        ASSERT_NE(analyzer, nullptr) << error.message;
    }
    void TearDown() override {
        for (dez_object* handle : {analyzer, engine})
            if (handle)
                dez_api_dec_ref(handle, nullptr);
    }

    // The result JSON of `text` analysed with the document options.
    std::string analyse(const std::string& text, const std::string& options) {
        Held result(dez_api_analyze_document(analyzer, text.data(), text.size(), options.c_str(),
                                             options.size(), &error));
        EXPECT_NE(result.handle, nullptr) << error.message;
        if (!result.handle)
            return "";
        size_t length = 0;
        const char* json = dez_api_get_result_json_buffer(result.handle, &length, &error);
        EXPECT_EQ(error.code, 0) << error.message;
        return json ? std::string(json, length) : std::string();
    }

    Record error;
    fs::path data;
    dez_object* engine = nullptr;
    dez_object* analyzer = nullptr;
};

TEST_F(CInterfaceRoad, TextToResultJson) {
    ASSERT_NO_FATAL_FAILURE(load());
    struct Case {
        std::string text;
        std::string options;
        std::string json;
    };
    const Case cases[] = {
        {"Hi Paris.", R"({"id":"d1"})",
         R"({"id":"d1","language":"road","sentences":[ [1,0,9,[)"
         R"([3,0,2,"Hi",["init-cap","init-token"],[["hi", "Interj"],["Hi", "Prop-Std"]]],)"
         R"([3,3,8,"Paris",["init-cap"],[["Paris", "Prop-Std"]]],)"
         R"([3,8,9,".",[],[[".", "Punct-Sent"]]]]]]})"},
        {"Hi Paris.", R"({"sentyziser":"icu"})",
         R"({"language":"road","sentences":[ [1,0,9,[)"
         R"([3,0,2,"Hi",["init-cap","init-token"],[["hi", "Interj"],["Hi", "Prop-Std"]]],)"
         R"([3,3,8,"Paris",["init-cap"],[["Paris", "Prop-Std"]]],)"
         R"([3,8,9,".",[],[[".", "Punct-Sent"]]]]]]})"},
        // Offsets in bytes, or in characters when asked.
        {"\xC3\x89mile walks.", "{}",
         R"({"language":"road","sentences":[ [1,0,13,[)"
         R"([3,0,6,"Émile",["init-cap","init-token"],[["Émile", "Prop-Std"]]],)"
         R"([3,7,12,"walks",[],[["walk", "Nn-Pl"],["walk", "V-Fin","3sg"]]],)"
         R"([3,12,13,".",[],[[".", "Punct-Sent"]]]]]]})"},
        {"\xC3\x89mile walks.", R"({"unicode_offset":"true"})",
         R"({"language":"road","sentences":[ [1,0,12,[)"
         R"([3,0,5,"Émile",["init-cap","init-token"],[["Émile", "Prop-Std"]]],)"
         R"([3,6,11,"walks",[],[["walk", "Nn-Pl"],["walk", "V-Fin","3sg"]]],)"
         R"([3,11,12,".",[],[[".", "Punct-Sent"]]]]]]})"},
        {"", "{}", R"({"language":"road","sentences":[ ]})"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text + " " + c.options);
        EXPECT_EQ(analyse(c.text, c.options), c.json);
    }
}

// The result JSON handed back as the input of another analysis gives the
// same result.
TEST_F(CInterfaceRoad, ResultJsonReadBack) {
    ASSERT_NO_FATAL_FAILURE(load());
    const std::string first = analyse("Hi Paris. \xC3\x89mile walks.", R"({"id":"d2"})");
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(analyse(first, R"({"input_type":"json"})"), first);
}

// A result read back takes the language it names; one that names none is
// read in the analyzer's language and keeps an empty language, a language
// the engine does not have is an error.
TEST_F(CInterfaceRoad, ResultReadBackInItsLanguage) {
    ASSERT_NO_FATAL_FAILURE(load());
    struct Case {
        std::string json;
        std::string written; // empty: the analysis fails
        std::string failure;
    };
    const Case cases[] = {
        {R"({"sentences": []})", R"({"language":"","sentences":[ ]})", ""},
        // The unknown word is looked up again in the analyzer's lexicon.
        {R"({"sentences": [[1, 0, 2, [[3, 0, 2, "Hi", ["nf"], []]]]]})",
         R"({"language":"","sentences":[ [1,0,2,[[3,0,2,"Hi",["init-cap","road"],[["hi", "Interj"]]]]]]})",
         ""},
        {R"({"language": "road", "sentences": [[1, 0, 2, [[3, 0, 2, "Hi", [], []]]]]})",
         R"({"language":"road","sentences":[ [1,0,2,[[3,0,2,"Hi",[],[]]]]]})", ""},
        {R"({"language": "xx", "sentences": []})", "", "language config file missing for [xx]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.json);
        error = Record();
        Held result(dez_api_analyze_document(analyzer, c.json.data(), c.json.size(),
                                             R"({"input_type":"json"})", 0, &error));
        if (c.written.empty()) {
            EXPECT_EQ(result.handle, nullptr);
            EXPECT_NE(error.code, 0);
            EXPECT_EQ(std::string(error.message).rfind(c.failure, 0), 0u) << error.message;
            continue;
        }
        ASSERT_NE(result.handle, nullptr) << error.message;
        size_t length = 0;
        const char* json = dez_api_get_result_json_buffer(result.handle, &length, &error);
        ASSERT_NE(json, nullptr) << error.message;
        EXPECT_EQ(json, c.written);
    }
}

// The result analysed again keeps its JSON.
TEST_F(CInterfaceRoad, ResultAnalysedAgain) {
    ASSERT_NO_FATAL_FAILURE(load());
    const std::string text = "Hi Paris. HI PARIS walks.";
    Held result(dez_api_analyze_document(analyzer, text.data(), text.size(), "{}", 2, &error));
    ASSERT_NE(result.handle, nullptr) << error.message;
    size_t length = 0;
    const std::string first = dez_api_get_result_json_buffer(result.handle, &length, &error);
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(dez_api_analyze_result(analyzer, result.handle, &error), result.handle);
        EXPECT_EQ(dez_api_get_result_json_buffer(result.handle, &length, &error), first);
    }
    EXPECT_EQ(error.code, 0) << error.message;
}

// A language that names a postagger and tagger tables beside its file: the
// postagger settles "walks", the tables settle "Hi".
TEST_F(CInterfaceRoad, PostaggerAndTaggerTablesOfTheLanguage) {
    dez::trelix::fixture::Postagger postagger;
    std::vector<std::pair<std::string, std::string>> noun;
    for (char c : std::string("Nn-Pl"))
        noun.push_back({std::string(1, c), "eps"});
    noun.back().second = "#2";
    postagger.path(noun);
    ASSERT_TRUE(postagger.network()->Write((data / "road.postagger").string()));
    dez::trelix::fixture::write_hmm_store(data / "road.hmm",
                                          {"Interj\t0.9\nProp-Std\t0.1\n",
                                           "Hi^^Interj\t0.5\nHi^^Prop-Std\t0.5\n",
                                           "Interj Prop-Std\t0.5\n"});
    nlohmann::json config = nlohmann::json::parse(std::ifstream(data / "road.language"));
    config["postagger"] = "road.postagger";
    config["hmm"] = "road.hmm";
    std::ofstream(data / "road.language") << config.dump();
    ASSERT_NO_FATAL_FAILURE(load());
    struct Case {
        const char* options;
        std::string json;
    };
    const Case cases[] = {
        {"{}", R"({"language":"road","sentences":[ [1,0,15,[)"
               R"([3,0,2,"Hi",["init-cap","init-token"],[["hi", "Interj"]]],)"
               R"([3,3,8,"Paris",["init-cap"],[["Paris", "Prop-Std"]]],)"
               R"([3,9,14,"walks",[],[["walk", "Nn-Pl"]]],)"
               R"([3,14,15,".",[],[[".", "Punct-Sent"]]]]]]})"},
        {R"({"disambiguate":"false","hmm":"false"})",
         R"({"language":"road","sentences":[ [1,0,15,[)"
         R"([3,0,2,"Hi",["init-cap","init-token"],[["hi", "Interj"],["Hi", "Prop-Std"]]],)"
         R"([3,3,8,"Paris",["init-cap"],[["Paris", "Prop-Std"]]],)"
         R"([3,9,14,"walks",[],[["walk", "Nn-Pl"],["walk", "V-Fin","3sg"]]],)"
         R"([3,14,15,".",[],[[".", "Punct-Sent"]]]]]]})"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options);
        EXPECT_EQ(analyse("Hi Paris walks.", c.options), c.json);
    }
}

} // namespace
} // namespace dez::api

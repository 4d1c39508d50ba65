#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "api/dez_api.h"
#include "tests/analysis/lid_fixture.h"
#include "tests/api/handle_fixture.h"

namespace dez::api {
namespace {

using dez::api::fixture::Record;
using dez::api::fixture::Held;

namespace fs = std::filesystem;

dez_object* engine_at(const fs::path& root) {
    Record error;
    const nlohmann::json options = {{"root_path", root.string()}, {"morfex", ""}};
    dez_object* engine = dez_api_get_engine(options.dump().c_str(), 0, &error);
    EXPECT_NE(engine, nullptr) << error.message;
    return engine;
}

// An engine handle over a small lid.fst of the test word list.
class LidCalls : public ::testing::Test {
protected:
    void SetUp() override {
        lid::fixture::write_lid_fst(tree.root / "morfex" / "lid.fst",
                                    lid::fixture::lexicon_file("small_lexicon.txt"));
        engine.handle = engine_at(tree.root);
        ASSERT_NE(engine.handle, nullptr);
    }

    dez_object* identifier(const char* options = "{}") {
        Record error;
        dez_object* lid = dez_api_get_lid_engine(engine.handle, options, 0, &error);
        EXPECT_NE(lid, nullptr) << error.message;
        EXPECT_EQ(error.code, 0);
        return lid;
    }

    // The language of the text, read back through a buffer that fits.
    std::string language_of(dez_object* lid, const std::string& text) {
        Record error;
        char output[64];
        std::memset(output, 'x', sizeof output);
        const size_t length = dez_api_language_identification(lid, text.data(), text.size(), output,
                                                              sizeof output, &error);
        EXPECT_EQ(error.code, 0) << error.message;
        EXPECT_EQ(length, std::strlen(output));
        return output;
    }

    pipeline::fixture::TempTree tree;
    Held engine{nullptr};
};

TEST_F(LidCalls, LanguageOfTheWholeText) {
    struct Case {
        const char* name;
        const char* options;
        std::string text;
        const char* language;
    };
    const Case cases[] = {
        {"English words", "{}", "the and is", "english"},
        {"one word ending on a letter", "{}", "les", "french"},
        {"codes instead of names", R"({"long_names":"false"})", "und der die", "DE"},
        {"nothing wins: the default language", R"({"default_language":"FR"})", "xyz abc", "french"},
        {"empty text", "{}", "", "english"},
        {"only the chosen codes vote", R"({"language_codes":"FR,EN"})", "und der les", "french"},
        // A text need not end with a zero byte: only its length is read.
        {"length bounds the text", "{}", std::string("le les\0the and is the", 6), "french"},
    };
    for (const Case& c : cases) {
        Held lid(identifier(c.options));
        ASSERT_NE(lid.handle, nullptr) << c.name;
        EXPECT_EQ(language_of(lid.handle, c.text), c.language) << c.name;
    }
}

TEST_F(LidCalls, NameCopiedAsABoundedCopy) {
    Held lid(identifier());
    ASSERT_NE(lid.handle, nullptr);
    const std::string text = "und der die"; // "german", six bytes
    struct Case {
        size_t size;
        const char* kept;
    };
    // The copy always ends with a zero byte, as the engine property's does;
    // the answer is the whole name's length either way.
    const Case cases[] = {{3, "ge"}, {6, "germa"}, {7, "german"}, {12, "german"}};
    for (const Case& c : cases) {
        Record error;
        char output[16];
        std::memset(output, 'x', sizeof output);
        EXPECT_EQ(dez_api_language_identification(lid.handle, text.data(), text.size(), output,
                                                  c.size, &error),
                  6u)
            << c.size;
        EXPECT_STREQ(output, c.kept) << c.size;
        // Zero-filled up to the size, nothing written beyond it.
        for (size_t i = std::strlen(c.kept); i < c.size; ++i)
            EXPECT_EQ(output[i], '\0') << c.size << " at " << i;
        EXPECT_EQ(output[c.size], 'x') << c.size;
        EXPECT_EQ(error.code, 0);
    }
    // Size 0 asks for the length alone.
    Record error;
    EXPECT_EQ(
        dez_api_language_identification(lid.handle, text.data(), text.size(), nullptr, 0, &error),
        6u);
    EXPECT_EQ(error.code, 0);
}

TEST_F(LidCalls, FailuresReachTheRecord) {
    Held lid(identifier());
    ASSERT_NE(lid.handle, nullptr);
    pipeline::fixture::TempTree empty;
    Held bare(engine_at(empty.root));
    char output[16];
    struct Case {
        const char* name;
        std::function<bool(dez_exception*)> call; // true: the call answered its failure
        int32_t code;
        const char* message; // a prefix
    };
    const std::string invalid = "und \xC3(der";
    const std::vector<Case> cases = {
        {"identifier without engine",
         [](dez_exception* e) { return !dez_api_get_lid_engine(nullptr, "{}", 0, e); }, 1,
         "Engine has not been initialized."},
        {"identifier where an engine belongs",
         [&](dez_exception* e) { return !dez_api_get_lid_engine(lid.handle, "{}", 0, e); }, 1,
         "Invalid handle: not an engine."},
        {"engine without lid.fst",
         [&](dez_exception* e) { return !dez_api_get_lid_engine(bare.handle, "{}", 0, e); }, 1,
         "Could not load language identification data. [lid.fst]"},
        {"default language outside the codes",
         [&](dez_exception* e) {
             return !dez_api_get_lid_engine(
                 engine.handle, R"({"language_codes":"DE","default_language":"EN"})", 0, e);
         },
         1, "Invalid default_language option, or is not in the default set: [EN]"},
        {"malformed options",
         [&](dez_exception* e) { return !dez_api_get_lid_engine(engine.handle, "{x", 0, e); }, 5,
         "{"},
        {"identification without identifier",
         [&](dez_exception* e) {
             return dez_api_language_identification(nullptr, "und", 3, output, sizeof output, e) ==
                    0;
         },
         1, "Lid engine not initialized."},
        {"identification with an engine handle",
         [&](dez_exception* e) {
             return dez_api_language_identification(engine.handle, "und", 3, output, sizeof output,
                                                    e) == 0;
         },
         1, "Invalid handle: not a language identifier."},
        {"null text with a length",
         [&](dez_exception* e) {
             return dez_api_language_identification(lid.handle, nullptr, 3, output, sizeof output,
                                                    e) == 0;
         },
         4, "basic_string::_S_construct null not valid"},
        {"null output with a size",
         [&](dez_exception* e) {
             return dez_api_language_identification(lid.handle, "und", 3, nullptr, 4, e) == 0;
         },
         4, "The output buffer is null."},
        {"invalid UTF-8, whole text",
         [&](dez_exception* e) {
             return dez_api_language_identification(lid.handle, invalid.data(), invalid.size(),
                                                    output, sizeof output, e) == 0;
         },
         1, "Invalid UTF-8 in the text at byte 4."},
        {"invalid UTF-8, sections",
         [&](dez_exception* e) {
             return !dez_api_language_identification_section(lid.handle, invalid.data(),
                                                             invalid.size(), e);
         },
         1, "Invalid UTF-8 in the text at byte 4."},
        {"sections without identifier",
         [&](dez_exception* e) {
             return !dez_api_language_identification_section(nullptr, "und", 3, e);
         },
         1, "Lid engine not initialized."},
        {"sections of a null text with a length",
         [&](dez_exception* e) {
             return !dez_api_language_identification_section(lid.handle, nullptr, 2, e);
         },
         4, "basic_string::_S_construct null not valid"},
    };
    for (const Case& c : cases) {
        Record record;
        std::memset(output, 'x', sizeof output);
        EXPECT_TRUE(c.call(&record)) << c.name;
        EXPECT_EQ(record.code, c.code) << c.name << ": " << record.message;
        EXPECT_EQ(std::string(record.message).rfind(c.message, 0), 0u)
            << c.name << ": " << record.message;
        // A failed identification writes no answer.
        EXPECT_EQ(output[0], 'x') << c.name;
    }
}

TEST_F(LidCalls, SectionsLiveInTheirHandle) {
    Held lid(identifier(R"({"section_data":"true"})"));
    ASSERT_NE(lid.handle, nullptr);
    const std::string german = "und der die und der";
    const std::string english = "the and is the and is";
    const std::string text = german + "\r\n\r\n" + english;
    Record error;
    Held sections(
        dez_api_language_identification_section(lid.handle, text.data(), text.size(), &error));
    ASSERT_NE(sections.handle, nullptr) << error.message;
    EXPECT_EQ(sections.handle->reference_count, 1);
    // The sections outlive the identifier that made them.
    dez_api_dec_ref(lid.handle, nullptr);
    lid.handle = nullptr;

    const char* json = dez_api_language_identification_section_json(sections.handle);
    ASSERT_NE(json, nullptr);
    const nlohmann::json expected = {{{"begin_offset", 0},
                                      {"end_offset", german.size() + 4},
                                      {"language", "german"},
                                      {"text", german + "\r\n\r\n"}},
                                     {{"begin_offset", german.size() + 4},
                                      {"end_offset", text.size()},
                                      {"language", "english"},
                                      {"text", english}}};
    EXPECT_EQ(nlohmann::json::parse(json), expected) << json;
    // Asked again, the same text in the same place.
    EXPECT_EQ(dez_api_language_identification_section_json(sections.handle), json);

    // An empty text has no sections.
    Held other_lid(identifier());
    Held none(dez_api_language_identification_section(other_lid.handle, nullptr, 0, &error));
    ASSERT_NE(none.handle, nullptr);
    EXPECT_STREQ(dez_api_language_identification_section_json(none.handle), "[]");

    // Only a sections handle has a sections text.
    EXPECT_EQ(dez_api_language_identification_section_json(nullptr), nullptr);
    EXPECT_EQ(dez_api_language_identification_section_json(other_lid.handle), nullptr);
    EXPECT_EQ(dez_api_language_identification_section_json(engine.handle), nullptr);
    EXPECT_EQ(error.code, 0) << error.message;
}

TEST_F(LidCalls, IdentifierOutlivesItsEngineAndServesThreads) {
    Held lid(identifier());
    ASSERT_NE(lid.handle, nullptr);
    dez_api_dec_ref(engine.handle, nullptr);
    engine.handle = nullptr;
    const std::vector<std::pair<std::string, std::string>> texts = {
        {"und der die", "german"}, {"the and is", "english"}, {"les la le", "french"}};
    std::vector<std::string> answers(texts.size() * 4);
    std::vector<std::thread> threads;
    for (size_t t = 0; t < answers.size(); ++t)
        threads.emplace_back([&, t] {
            const std::string& text = texts[t % texts.size()].first;
            for (int round = 0; round < 50; ++round) {
                Record error;
                char output[32] = {};
                dez_api_language_identification(lid.handle, text.data(), text.size(), output,
                                                sizeof output, &error);
                if (round == 0 || answers[t] == output)
                    answers[t] = error.code ? error.message : output;
                else
                    answers[t] = "changed to " + std::string(output);
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    for (size_t t = 0; t < answers.size(); ++t)
        EXPECT_EQ(answers[t], texts[t % texts.size()].second) << t;
}

} // namespace
} // namespace dez::api

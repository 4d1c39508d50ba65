#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>

#include "analysis/language_blocks.h"
#include "analysis/lid.h"
#include "analysis/lid_store.h"
#include "foundation/exception.h"
#include "tests/analysis/lid_fixture.h"

namespace dez::lid {
namespace {

using fixture::LidEngine;
using fixture::options_of;

class LidStoreTest : public ::testing::Test {
protected:
    LidEngine lid{fixture::lexicon_file("small_lexicon.txt")};

    std::unique_ptr<LIDStore> store(nlohmann::json options = {{"long_names", "false"}}) {
        return std::make_unique<LIDStore>(lid.engine.get(), options_of(options));
    }
    SectionDetectionResult identify(const std::string& text,
                                    nlohmann::json options = {{"long_names", "false"}}) {
        return store(options)->identify_language(text.data(), text.size());
    }
};

struct IdentifyCase {
    const char* name;
    std::string text;
    std::string language;
    bool identified;
    int32_t count;
    int32_t hits;
};

TEST_F(LidStoreTest, WholeTextIdentification) {
    const std::string thai = "\xE0\xB8\xAA\xE0\xB8\xA7\xE0\xB8\xB1\xE0\xB8\xAA"; // สวัส
    const std::string sundanese = "\xE1\xAE\x9E\xE1\xAE\xA5\xE1\xAE\x94"; // U+1B9E U+1BA5 U+1B94
    const IdentifyCase cases[] = {
        {"three English words", "the and is", "EN", true, 3, 3},
        {"one word ending the text", "und", "DE", true, 1, 1},
        {"last word ends on a letter", "xyz und", "DE", true, 2, 1},
        {"closing period stays in the last word", "und.", "EN", false, 1, 0},
        {"name in mid-sentence is skipped", "der Haus und", "DE", true, 2, 2},
        {"capital lowered after a sentence end", "der. Und", "DE", true, 2, 2},
        {"acronym at the sentence start is dropped", "THE und", "DE", true, 1, 1},
        {"lower-case word with an inner capital is dropped", "und tHe", "DE", true, 1, 1},
        {"non-ASCII capital inside a word keeps it", "übÉr", "DE", true, 1, 1},
        {"period between letters stays inside", "z.b und", "DE", true, 2, 2},
        {"a number forms no word", "3.14 und", "DE", true, 1, 1},
        {"unknown Thai words vote by block", thai, "TH", true, 1, 1},
        {"ideographs without spaces", "中文文本", "ZH", true, 1, 1},
        {"Sundanese counts for no language", sundanese, "EN", false, 1, 0},
        {"empty text", "", "EN", false, 0, 0},
        {"votes too short or out of range are skipped", "kurz riesig neg und", "DE", true, 4, 1},
        {"unknown words only", "xyz abc", "EN", false, 2, 0},
    };
    // The same votes as a plain word list, read into a table.
    LidEngine plain(fixture::lexicon_file("small_lexicon.txt"), fixture::VoteArc::last_character);
    for (const LidEngine* engine : {&lid, &plain}) {
        LIDStore store(engine->engine.get(), options_of({{"long_names", "false"}}));
        for (const IdentifyCase& c : cases) {
            const SectionDetectionResult result =
                store.identify_language(c.text.data(), c.text.size());
            EXPECT_EQ(result.language, c.language) << c.name;
            EXPECT_EQ(result.identified, c.identified) << c.name;
            EXPECT_EQ(result.count, c.count) << c.name;
            EXPECT_EQ(result.hits, c.hits) << c.name;
        }
    }
}

TEST_F(LidStoreTest, TallyOfMixedVotes) {
    // EN 110 x 3 / 5 = 66, FR 100 x 2 / 5 = 40: EN by a margin of 26/66.
    const SectionDetectionResult result = identify("the and is le les");
    EXPECT_EQ(result.language, "EN");
    EXPECT_NEAR(result.probability, 26.0 / 66.0, 1e-12);
    EXPECT_EQ(result.languages.at("EN").score, 110);
    EXPECT_EQ(result.languages.at("FR").count, 2);
    // "de" votes for two languages: neither wins.
    EXPECT_FALSE(identify("de de de").identified);
}

TEST_F(LidStoreTest, TheTwoHundredFiftiethWordDecidesEarly) {
    auto words = [](int n) {
        std::string text;
        for (int i = 0; i < n; ++i)
            text += "und ";
        return text;
    };
    struct {
        int words;
        int32_t count;
    } cases[] = {{249, 249}, {250, 250}, {300, 250}};
    for (const auto& c : cases) {
        const SectionDetectionResult result = identify(words(c.words));
        EXPECT_EQ(result.language, "DE") << c.words;
        EXPECT_EQ(result.count, c.count) << c.words;
        EXPECT_EQ(result.probability, 1.0) << c.words;
    }
}

TEST_F(LidStoreTest, LongNamesAndBlockCodesWithoutOne) {
    EXPECT_EQ(identify("und", {}).language, "german");
    EXPECT_EQ(identify("", {}).language, "english");
    // Balinese is filed under "IN", which the language table does not name.
    EXPECT_EQ(identify("\xE1\xAC\x85\xE1\xAC\x86", {}).language, "IN");
    EXPECT_EQ(language_long_name("DE"), "german");
    EXPECT_EQ(language_long_name("IN"), "IN");
}

TEST_F(LidStoreTest, InvalidUtf8IsAnError) {
    const std::string cases[] = {
        "und \xC0\xAF",     // overlong
        "\xED\xA0\x80 und", // surrogate
        "\xF4\x90\x80\x80", // above U+10FFFF
        "und \x80 der",     // stray continuation byte
        "und \xE4\xB8",     // cut off by the end
    };
    auto s = store();
    for (const std::string& text : cases) {
        EXPECT_THROW(s->identify_language(text.data(), text.size()), dez::Exception) << text;
        EXPECT_THROW(s->identify_language_sections(text.data(), text.size()), dez::Exception)
            << text;
        EXPECT_THROW(character_range_detection(text.data(), text.size()), dez::Exception) << text;
    }
    EXPECT_THROW(s->identify_language(nullptr, 3), dez::Exception);
}

TEST_F(LidStoreTest, Options) {
    auto defaults = store({});
    EXPECT_FALSE(defaults->section_data);
    EXPECT_TRUE(defaults->long_names);
    EXPECT_EQ(defaults->default_language, "EN");
    EXPECT_TRUE(defaults->language_codes.count("DE"));

    auto custom = store({{"section_data", "yes"},
                         {"long_names", "0"},
                         {"language_codes", "FR,DE"},
                         {"default_language", "FR"}});
    EXPECT_TRUE(custom->section_data);
    EXPECT_FALSE(custom->long_names);
    EXPECT_EQ(custom->language_codes, (std::set<std::string>{"DE", "FR"}));
    // English words no longer vote; the default answers.
    const std::string text = "the and is";
    EXPECT_EQ(custom->identify_language(text.data(), text.size()).language, "FR");
}

TEST_F(LidStoreTest, CodesThatMatchNoVoteLeaveTheBlocksToDecide) {
    const nlohmann::json options = {
        {"long_names", "false"}, {"language_codes", "XX,EN"}, {"default_language", "XX"}};
    EXPECT_EQ(identify("und der die", options).language, "XX");
    EXPECT_EQ(identify("und 中文", options).language, "ZH");
}

TEST_F(LidStoreTest, DefaultLanguageMustBeOneOfTheCodes) {
    struct {
        nlohmann::json options;
        const char* message;
    } cases[] = {
        {{{"default_language", "XX"}},
         "Invalid default_language option, or is not in the default set: [XX]"},
        {{{"language_codes", "DE,FR"}},
         "Invalid default_language option, or is not in the default set: [EN]"},
        {{{"default_language", "en"}},
         "Invalid default_language option, or is not in the default set: [en]"},
        {{{"language_codes", "DE, EN"}, {"default_language", "EN"}},
         "Invalid default_language option, or is not in the default set: [EN]"},
    };
    for (const auto& c : cases) {
        try {
            store(c.options);
            ADD_FAILURE() << c.options.dump();
        } catch (const dez::Exception& e) {
            EXPECT_EQ(std::string(e.what()), c.message);
        }
    }
}

TEST(LidStoreWithoutData, EngineWithoutLidFstFails) {
    dez::pipeline::fixture::TempTree tree;
    auto engine = std::make_shared<dez::trelix::Engine>(
        options_of({{"root_path", tree.root.string()}, {"morfex", ""}}));
    try {
        dez::trelix::Lid lid(engine.get(), options_of({}));
        ADD_FAILURE() << "no failure";
    } catch (const dez::Exception& e) {
        EXPECT_STREQ(e.what(), "Could not load language identification data. [lid.fst]");
    }
}

TEST(LidBlockScan, EveryCodePointVotesForItsBlock) {
    const std::string text = "aΩ中\xE1\xAE\x9E"; // Latin, Greek, CJK, Sundanese
    const SectionDetectionResult result = character_range_detection(text.data(), text.size());
    EXPECT_EQ(result.count, 4);
    EXPECT_EQ(result.hits, 3);
    EXPECT_FALSE(result.identified);
    ASSERT_EQ(result.languages.size(), 3u);
    EXPECT_EQ(result.languages.at("EL").score, 5);
    EXPECT_EQ(result.languages.at("ZH").count, 1);
    EXPECT_EQ(result.languages.at("").score, 5);
}

TEST(LidBlockTable, SeventyFiveRowsWithoutOverlap) {
    ASSERT_EQ(language_blocks.size(), 75u);
    int empty = 0;
    for (std::size_t i = 0; i < language_blocks.size(); ++i) {
        const auto& [first, last, code, name] = language_blocks[i];
        EXPECT_LE(first, last) << name;
        empty += code.empty();
        for (std::size_t j = i + 1; j < language_blocks.size(); ++j)
            EXPECT_TRUE(std::get<1>(language_blocks[j]) < first ||
                        last < std::get<0>(language_blocks[j]))
                << name << " / " << std::get<3>(language_blocks[j]);
    }
    EXPECT_EQ(empty, 11);

    struct {
        uint32_t code_point;
        const char* code;
    } cases[] = {
        {0x0041, nullptr}, {0x00E9, nullptr}, {0x0416, nullptr}, // Latin, Cyrillic
        {0x0370, "EL"},    {0x03FF, "EL"},    {0x0A85, "HI"},    // Gujarati under Hindi
        {0x0C85, "TE"},    {0x1900, "BO"},    {0x0780, "AR"},    // Kannada, Limbu, Thaana
        {0x0800, "HE"},    {0x1B05, "IN"},    {0xFF01, "JA"},    // Samaritan, Balinese
        {0x3042, "JA"},    {0x4E2D, "ZH"},    {0x2EBEF, "ZH"},   // Hiragana, CJK, Ext. F end
        {0x1B80, ""},      {0x1CBF, ""},      {0x10FFFF, nullptr},
    };
    for (const auto& c : cases) {
        const LanguageBlock* block = find_language_block(c.code_point);
        const char* code = block ? std::get<2>(*block).c_str() : nullptr;
        if (!c.code)
            EXPECT_EQ(code, nullptr) << std::hex << c.code_point;
        else
            EXPECT_STREQ(code, c.code) << std::hex << c.code_point;
    }
}

TEST(LidParagraphTests, ValidConditionAndUpdate) {
    SectionDetectionResult r;
    r.identified = true;
    r.count = 3;
    EXPECT_TRUE(valid_condition(r));
    r.count = 2;
    EXPECT_FALSE(valid_condition(r));
    r.count = 3;
    r.identified = false;
    EXPECT_FALSE(valid_condition(r));

    SectionDetectionResult current;
    current.probability = 0.9;
    SectionDetectionResult paragraph;
    paragraph.probability = 0.5;
    paragraph.count = 7;
    paragraph.hits = 4;
    update_probability(current, paragraph);
    EXPECT_EQ(current.probability, 0.9); // 0.5 is not above 0.5
    EXPECT_EQ(current.count, 7);
    EXPECT_EQ(current.hits, 4);
    paragraph.probability = 0.7;
    update_probability(current, paragraph);
    EXPECT_DOUBLE_EQ(current.probability, 0.8);
}

} // namespace
} // namespace dez::lid

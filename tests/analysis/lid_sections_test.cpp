#include <gtest/gtest.h>

#include <string>

#include "analysis/lid_store.h"
#include "tests/analysis/lid_fixture.h"

namespace dez::lid {
namespace {

using fixture::LidEngine;
using fixture::options_of;

// Twelve German words (47 bytes), three and six English ones.
const std::string de12 = "und der die und der die und der die und der die";
const std::string en3 = "the and is";
const std::string en6 = "the and is the and is";

std::string section(std::size_t begin, std::size_t end, const std::string& language) {
    return "{\"begin_offset\":" + std::to_string(begin) + ",\"end_offset\":" + std::to_string(end) +
           ",\"language\":\"" + language + "\"}";
}

class LidSectionsTest : public ::testing::Test {
protected:
    LidEngine lid{fixture::lexicon_file("small_lexicon.txt")};

    std::string sections(const std::string& text,
                         const nlohmann::json& options = {{"long_names", "false"}}) {
        LIDStore store(lid.engine.get(), options_of(options));
        return store.identify_language_sections(text.data(), text.size());
    }
};

TEST_F(LidSectionsTest, ParagraphsBreakOnlyAtBlankLines) {
    struct Case {
        const char* name;
        std::string text;
        std::string json;
    } cases[] = {
        {"empty text", "", "[]"},
        {"one paragraph", de12, "[" + section(0, 47, "DE") + "]"},
        {"unidentified paragraph takes the default", "xyz", "[" + section(0, 3, "EN") + "]"},
        {"blank line", de12 + "\n\n" + en3,
         "[" + section(0, 49, "DE") + "," + section(49, 59, "EN") + "]"},
        {"blank line of CR LF pairs", de12 + "\r\n\r\n" + en3,
         "[" + section(0, 51, "DE") + "," + section(51, 61, "EN") + "]"},
        {"blank line holding a space", de12 + "\n \n" + en3,
         "[" + section(0, 50, "DE") + "," + section(50, 60, "EN") + "]"},
        {"one CR LF is one line break", de12 + "\r\n" + en3, "[" + section(0, 59, "DE") + "]"},
        {"line breaks with text between", de12 + "\nx\n" + en3, "[" + section(0, 60, "DE") + "]"},
        {"a short paragraph does not end at a blank line", de12 + "\n\n" + en3 + "\n\n" + de12,
         "[" + section(0, 108, "DE") + "]"},
        {"three sections", de12 + "\n\n" + en6 + "\n\n" + de12,
         "[" + section(0, 49, "DE") + "," + section(49, 72, "EN") + "," + section(72, 119, "DE") +
             "]"},
        {"an unsure section folds into the one before",
         de12 + "\n\n" + "the and is le les\n\n" + de12, "[" + section(0, 115, "DE") + "]"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(sections(c.text), c.json) << c.name;
}

TEST_F(LidSectionsTest, LongNamesAndSectionText) {
    EXPECT_EQ(sections(de12 + "\n\n" + en6, {}),
              "[" + section(0, 49, "german") + "," + section(49, 70, "english") + "]");
    const std::string text = "und \"der\"\tdie";
    EXPECT_EQ(sections(text, {{"section_data", "true"}, {"long_names", "false"}}),
              "[{\"begin_offset\":0,\"end_offset\":13,\"language\":\"DE\","
              "\"text\":\"und \\\"der\\\"\\tdie\"}]");
}

} // namespace
} // namespace dez::lid

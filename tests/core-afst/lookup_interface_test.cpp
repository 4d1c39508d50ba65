#include "core-afst/afst.h"
#include "core-afst/cleaner_lookup.h"
#include "core-afst/compound_lookup_numbers.h"
#include "core-afst/compound_lookup_v2.h"
#include "core-afst/compound_lookup_v3.h"
#include "core-afst/endings_lookup.h"
#include "core-afst/guesser_lookup.h"
#include "core-afst/lookup_converter.h"
#include "core-afst/lookup_interface.h"
#include "core-afst/tag_lookup.h"
#include "core-afst/word_lookup.h"

#include "lexicon_fixture.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace dez::afst;

TEST(LookupModeNames, IndexedByTypeNumber) {
    const auto& names = lookup_mode_names();
    ASSERT_EQ(names.size(), 11u);
    EXPECT_EQ(names[lookup_not_set], "not_set");
    EXPECT_EQ(names[lookup_plain], "plain");
    EXPECT_EQ(names[lookup_compound], "compound");
    EXPECT_EQ(names[lookup_compound_v2], "compound_v2");
    EXPECT_EQ(names[lookup_compound_v3], "compound_v3");
    EXPECT_EQ(names[lookup_compound_numbers], "compound_numbers");
    EXPECT_EQ(names[lookup_cleaner], "cleaner");
    EXPECT_EQ(names[lookup_guesser], "guesser");
    EXPECT_EQ(names[lookup_endings], "endings");
    EXPECT_EQ(names[lookup_tag], "tag");
    EXPECT_EQ(names[lookup_icu], "icu");
    EXPECT_EQ(lookup_icu, 10);
}

class Echo : public LookupInterface {
public:
    int type() const override { return 0; }
    std::vector<std::string> up(const std::string& word) override { return {word + "+A", "B"}; }
};

TEST(LookupInterface, DefaultPrintResults) {
    Echo echo;
    testing::internal::CaptureStdout();
    echo.print_results("w");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "up [w]\n  -- w+A\n  -- B\n");
}

TEST(LookupConverter, LowerCases) {
    const auto converter = get_lowercase_converter();
    ASSERT_TRUE(converter);
    EXPECT_NE(converter, get_lowercase_converter());
    EXPECT_EQ((*converter)("Hello \xc3\x84pfel"), "hello \xc3\xa4pfel");
    EXPECT_EQ((*converter)(""), "");
}

// Every strategy over a lexicon is made from a loaded AFst or from a
// transducer, and refuses to be made without one.
TEST(LookupLexicon, StrategiesTakeAnAFstOrATransducer) {
    const auto transducer = afst_test::load_lexicon("words.txt");
    const auto afst = std::make_shared<AFst>(transducer);
    const nlohmann::json none;
    using Make = std::function<std::unique_ptr<LookupInterface>(LookupLexicon)>;
    const std::vector<std::pair<const char*, Make>> strategies = {
        {"plain",
         [](LookupLexicon l) { return std::make_unique<WordLookup>(std::move(l), nullptr); }},
        {"endings",
         [](LookupLexicon l) { return std::make_unique<EndingsLookup>(std::move(l), nullptr); }},
        {"cleaner",
         [](LookupLexicon l) { return std::make_unique<CleanerLookup>(std::move(l), nullptr); }},
        {"tag", [](LookupLexicon l) { return std::make_unique<TagLookup>(std::move(l), nullptr); }},
        {"compound_v2",
         [](LookupLexicon l) { return std::make_unique<CompoundLookupV2>(std::move(l), nullptr); }},
        {"compound_v3",
         [&](LookupLexicon l) {
             return std::make_unique<CompoundLookupV3>(std::move(l), nullptr, none);
         }},
        {"compound_numbers",
         [&](LookupLexicon l) {
             return std::make_unique<CompoundLookupNumbers>(std::move(l), nullptr, none);
         }},
        {"guesser",
         [&](LookupLexicon l) {
             return std::make_unique<GuesserLookup>(std::move(l), afst, nullptr);
         }},
    };
    for (const auto& [name, make] : strategies) {
        EXPECT_EQ(lookup_mode_names()[make(afst)->type()], name);
        EXPECT_EQ(lookup_mode_names()[make(transducer)->type()], name);
        EXPECT_THROW(make(nullptr), std::invalid_argument) << name;
        EXPECT_THROW(make(std::shared_ptr<fst::StdVectorFst>()), std::invalid_argument) << name;
    }
    EXPECT_EQ(WordLookup(afst, nullptr).afst(), afst);
}

// The converter helper leaves a word alone without a converter.
TEST(LookupConverter, ConvertWithAndWithoutAConverter) {
    EXPECT_EQ(convert(nullptr, "Straße"), "Straße");
    EXPECT_EQ(convert(get_lowercase_converter(), "WaLK"), "walk");
}

} // namespace

#include "core-afst/lookup_converter.h"
#include "core-afst/lookup_interface.h"

#include <gtest/gtest.h>

#include <string>
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

} // namespace

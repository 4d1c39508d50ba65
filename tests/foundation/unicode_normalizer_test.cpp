#include "foundation/unicode_normalizer.h"

#include <gtest/gtest.h>

namespace {

using namespace dez::string;

TEST(UnicodeNormalizer, InstancesAreReadyAtLoad) {
    ASSERT_NE(decomposer, nullptr);
    ASSERT_NE(composer, nullptr);
    EXPECT_EQ(get_composer(), composer);
    EXPECT_EQ(init_decomposer(), decomposer); // ICU hands out one shared instance
    EXPECT_EQ(init_composer(), composer);
    EXPECT_EQ(dez_convert, (std::map<uint32_t, uint32_t>{{0x141, 'l'}, {0x142, 'l'}}));
}

TEST(UnicodeNormalizer, ComposeIsNfkc) {
    EXPECT_EQ(compose(icu::UnicodeString(u"e\u0301")), icu::UnicodeString(u"\u00E9"));
    EXPECT_EQ(compose(icu::UnicodeString(u"\uFB01x")), icu::UnicodeString(u"fix"));
    EXPECT_EQ(compose(icu::UnicodeString()), icu::UnicodeString());
}

TEST(UnicodeNormalizer, IsDecomposedLooksForCombiningMarks) {
    for (char16_t unit : {u'\u0300', u'\u0301', u'\u036F'})
        EXPECT_TRUE(is_decomposed(unit)) << static_cast<int>(unit);
    for (char16_t unit : {u'\u02FF', u'\u0370', u'e'})
        EXPECT_FALSE(is_decomposed(unit)) << static_cast<int>(unit);
    EXPECT_TRUE(is_decomposed(icu::UnicodeString(u"Cafe\u0301")));
    EXPECT_FALSE(is_decomposed(icu::UnicodeString(u"Caf\u00E9")));
    EXPECT_FALSE(is_decomposed(icu::UnicodeString()));
}

} // namespace

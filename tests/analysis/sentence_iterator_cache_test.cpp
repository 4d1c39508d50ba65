#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <unicode/brkiter.h>
#include <unicode/unistr.h>

#include "analysis/sentence_iterator_cache.h"

namespace dez::trelix {
namespace {

std::vector<int32_t> boundaries(icu::BreakIterator& iterator) {
    std::vector<int32_t> out;
    for (int32_t at = iterator.first(); at != icu::BreakIterator::DONE; at = iterator.next())
        out.push_back(at);
    return out;
}

// Each call hands out an iterator of its own, walking its own text.
TEST(SentenceIteratorCache, IteratorsOfTheirOwn) {
    auto first = get_sentence_iterator("en");
    auto second = get_sentence_iterator("en");
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first.get(), second.get());
    const icu::UnicodeString one(u"One. Two.");
    const icu::UnicodeString other(u"A b c.");
    first->setText(one);
    second->setText(other);
    EXPECT_EQ(boundaries(*first), (std::vector<int32_t>{0, 5, 9}));
    EXPECT_EQ(boundaries(*second), (std::vector<int32_t>{0, 6}));

    // Locales are kept apart: English suppressions join "Mr. Smith".
    const icu::UnicodeString title(u"Mr. Smith left.");
    auto plain = get_sentence_iterator("");
    auto suppressing = get_sentence_iterator("en@ss=standard");
    plain->setText(title);
    suppressing->setText(title);
    EXPECT_EQ(boundaries(*plain), (std::vector<int32_t>{0, 4, 15}));
    EXPECT_EQ(boundaries(*suppressing), (std::vector<int32_t>{0, 15}));
}

} // namespace
} // namespace dez::trelix

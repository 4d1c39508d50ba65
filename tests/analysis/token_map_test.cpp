#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/token_map.h"

namespace dez::trelix {
namespace {

std::vector<std::string> tags(int32_t status) {
    std::vector<std::string> result;
    auto [begin, end] = init_token_map().equal_range(status);
    for (auto it = begin; it != end; ++it)
        result.push_back(it->second);
    return result;
}

TEST(TokenMap, DefaultsKeepTheOrderTagsAreAppliedIn) {
    EXPECT_EQ(init_token_map().size(), 37u);
    EXPECT_EQ(&init_token_map(), &init_token_map());
    struct Case {
        int32_t status;
        std::vector<std::string> tags;
    };
    const std::vector<Case> cases = {
        {100, {"+Num"}},
        {400, {"+Punct-Header", "hdr-prefix"}},
        {511, {"+Num", "_not_a_noun_"}},
        {513, {"+Punct-Quote"}},
        {514, {"+Nn-Sym", "currency"}},
        {600, {"+Prop-Std", "nf"}},
        {700, {"+Num", "measure", "_not_a_noun_"}},
        {2000, {"tag"}},
        {1900, {"uuid"}},
        // Statuses without tags: the tokenizer leaves such tokens alone.
        {0, {}},
        {200, {}},
        {3000, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(tags(c.status), c.tags) << c.status;
}

} // namespace
} // namespace dez::trelix

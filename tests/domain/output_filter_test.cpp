#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "domain/output_filter.h"

namespace dez::trelix {
namespace {

TEST(OutputFilter, AcceptsEverythingUntilBuilt) {
    OutputFilter filter;
    filter.add("Person");
    EXPECT_TRUE(filter.has("Anything"));
}

TEST(OutputFilter, NamesAreOrderedAndUnique) {
    OutputFilter filter;
    for (const char* name : {"b", "a", "b"})
        filter.add(name);
    EXPECT_EQ(std::vector<std::string>(filter.begin(), filter.end()),
              (std::vector<std::string>{"a", "b"}));
}

TEST(OutputFilter, BuiltFilterMatchesWholeNames) {
    OutputFilter filter;
    filter.add("Person");
    filter.add("Cit[yi]");
    filter.build();
    struct Case {
        const char* name;
        bool kept;
    };
    for (const Case& c : {Case{"Person", true}, Case{"City", true}, Case{"Citi", true},
                          Case{"PersonX", false}, Case{"Date", false}})
        EXPECT_EQ(filter.has(c.name), c.kept) << c.name;
}

TEST(OutputFilter, OneSlashedExpressionLosesItsSlashes) {
    OutputFilter filter;
    filter.add("/Pers.*/");
    filter.build();
    EXPECT_TRUE(filter.has("Person"));
    EXPECT_FALSE(filter.has("/Person/"));
}

TEST(OutputFilter, BadNameFailsTheBuild) {
    OutputFilter filter;
    filter.add("a]");
    EXPECT_THROW(filter.build(), std::runtime_error);
}

} // namespace
} // namespace dez::trelix

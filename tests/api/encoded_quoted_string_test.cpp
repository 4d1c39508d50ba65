#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "api/encoded_quoted_string.h"

namespace dez::trelix {
namespace {

TEST(EncodedQuotedString, QuotesAndEscapes) {
    struct Case {
        std::string text;
        const char* expected;
    };
    const Case cases[] = {
        {"plain", "\"plain\""},
        {"", "\"\""},
        {"a\"b\tc\\", R"("a\"b\tc\\")"},
        {std::string("\x01", 1), R"("\u0001")"},
        {"caf\xC3\xA9", "\"caf\xC3\xA9\""},
    };
    for (const Case& c : cases) {
        std::ostringstream os;
        os << encoded_quoted_string(c.text);
        EXPECT_EQ(os.str(), c.expected);
    }
}

} // namespace
} // namespace dez::trelix

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <utf8.h>

#include "analysis/markup_info.h"
#include "analysis/token_properties.h"
#include "document/token.h"

namespace dez::trelix {
namespace {

using Strings = std::vector<std::string>;

Strings properties(const std::string& literal) {
    Token token(0, 0, literal);
    add_properties(&token);
    return Strings(token.properties.begin(), token.properties.end());
}

TEST(TokenProperties, ShapeOfTheLiteral) {
    struct Case {
        std::string literal;
        Strings properties;
    };
    const std::vector<Case> cases = {
        {"Paris", {"init-cap", "nf"}},
        {"NATO", {"all-cap", "nf"}},
        {"A", {"init-cap", "nf"}},
        // One code point of two bytes is a single capital, as 'A' is.
        {"\xC3\x84", {"init-cap", "nf"}},
        {"\xC3\x84\xC3\x96", {"all-cap", "nf"}},
        {"\xC3\x84rger", {"init-cap", "nf"}},
        {"B2B", {"alphanum", "init-cap", "nf"}},
        {"4x4", {"alphanum", "nf"}},
        {"A.", {"init-cap", "nf"}},
        {"hello", {}},
        {"42", {}},
        {"", {}},
        // Only ASCII letters and digits make "alphanum".
        {"\xC3\xA9"
         "5",
         {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(properties(c.literal), c.properties) << c.literal;
}

TEST(TokenProperties, MalformedLiteralsAreRefused) {
    EXPECT_THROW(properties("A\xC3"), utf8::not_enough_room);
    EXPECT_THROW(properties("\xFF"), utf8::invalid_utf8);
    // The letter-and-digit scan stops once it has its answer.
    EXPECT_EQ(properties("a1\xFF"), (Strings{"alphanum", "nf"}));
}

TEST(TokenProperties, CapitalsAreAskedOfThePropertySet) {
    Token token(0, 4, "NATO");
    token.readings.emplace_back("Nn", "nato", 1.0);
    token.readings.back().tags.push_back("init-cap");
    EXPECT_FALSE(init_cap(&token));
    EXPECT_FALSE(all_caps(&token));
    add_properties(&token);
    EXPECT_TRUE(all_caps(&token));
    EXPECT_FALSE(init_cap(&token));
}

TEST(MarkupInfo, TagWithoutAttributes) {
    struct Case {
        std::string literal;
        std::string stem;
    };
    const std::vector<Case> cases = {
        {"<a class=x>", "<a>"},
        {"<br>", "<br>"},
        {"</p>", "</p>"},
        {"<img src=a alt=b/>", "<img>"},
    };
    for (const Case& c : cases) {
        Token token(0, 0, c.literal);
        add_markup_info(&token);
        ASSERT_EQ(token.readings.size(), 1u) << c.literal;
        EXPECT_EQ(token.readings.front().pos, "Markup");
        EXPECT_EQ(token.readings.front().stem, c.stem);
        EXPECT_EQ(token.readings.front().weight, 1.0);
    }
}

} // namespace
} // namespace dez::trelix

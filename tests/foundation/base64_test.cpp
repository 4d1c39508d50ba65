#include "foundation/base64.h"

#include <boost/archive/iterators/dataflow_exception.hpp>
#include <gtest/gtest.h>

namespace {

TEST(Base64, EncodesWithPadding) {
    struct Case {
        std::string data, text;
    };
    const Case cases[] = {
        {"", ""},       {"a", "YQ=="},     {"ab", "YWI="},
        {"abc", "YWJj"}, {"abcd", "YWJjZA=="}, {std::string("\0\xFF\x10", 3), "AP8Q"},
        {"any carnal pleasure.", "YW55IGNhcm5hbCBwbGVhc3VyZS4="},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(dez::base64::encode(c.data), c.text);
        EXPECT_EQ(dez::base64::encode(std::vector<unsigned char>(c.data.begin(), c.data.end())),
                  c.text);
        EXPECT_EQ(dez::base64::decode(c.text), c.data) << c.text;
    }
}

TEST(Base64, DecodesLeniently) {
    struct Case {
        std::string text, data;
    };
    const Case cases[] = {
        {"YWI", "ab"},            // missing padding is added
        {"YQ", "a"},
        {"YW Jj\nZA", "abcd"},     // whitespace is skipped
        {"Y W\tJj\r\n", "abc"},
        {"YW\vJj\f\f\f", "abc"},
        {"YW Jj\n", "ab"},         // whitespace counts towards the padding
        {"YWJj   Y", "abc"},        // a lone last character holds no whole byte
        {"====", ""},             // more '=' than bytes: empty, no underflow
        {"=", ""},
        {"YQ======", ""},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(dez::string::base64::decode(c.text), c.data) << c.text;
}

TEST(Base64, ForeignBytesRaise) {
    for (const char* text : {"YW*j", "Y\x80Jj", "YWJj Y*", "YWJj   *"}) {
        try {
            dez::base64::decode(text);
            ADD_FAILURE() << "no exception for " << text;
        } catch (const boost::archive::iterators::dataflow_exception& e) {
            EXPECT_STREQ(e.what(), "attempt to decode a value not in base64 char set");
        }
    }
}

} // namespace

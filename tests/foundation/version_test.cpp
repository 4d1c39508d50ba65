#include "api/dez_api.h"
#include "foundation/version.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using dez::version::Version;
using Components = std::vector<unsigned int>;

std::string print(const Version& v) {
    std::ostringstream os;
    os << v;
    return os.str();
}

Version from(Components components) {
    Version v;
    v.components = std::move(components);
    return v;
}

struct ParseCase {
    const char* text;
    bool valid;
    Components components;
};

TEST(Version, ParsesTheWholeTextOrNothing) {
    const ParseCase cases[] = {
        {"7", true, {7, 0, 0}},
        {"1.2", true, {1, 2, 0}},
        {"10.200.3000", true, {10, 200, 3000}},
        {"007.08", true, {7, 8, 0}},
        {"latest", true, {0, 0, 0}},
        {"dev", true, {0, 0, 0}},
        {"4294967297", true, {1, 0, 0}}, // truncated to 32 bits
        {"", false, {}},
        {"1.2.3.4", false, {}},
        {"v1", false, {}},
        {"Latest", false, {}},
        {"DEV", false, {}},
        {" 1", false, {}},
        {"1.2 ", false, {}},
        {"1.", false, {}},
        {"1..2", false, {}},
        {"latest1", false, {}},
        {"-1", false, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(dez::version::is_valid_version_format(c.text), c.valid) << c.text;
        EXPECT_EQ(dez::version::parse_version_format(c.text), c.components) << c.text;
        EXPECT_EQ(Version(c.text).components, c.components) << c.text;
    }
}

TEST(Version, EqualVersionsAreGreaterButNotLess) {
    // operator> is the negation of operator<; callers rely on that.
    const std::pair<const char*, const char*> equal[] = {
        {"1.2.3", "1.2.3"}, {"2", "2.0.0"}, {"latest", "dev"}, {"latest", "0.0.0"}};
    for (const auto& [a, b] : equal) {
        EXPECT_TRUE(Version(a) > Version(b)) << a << " " << b;
        EXPECT_TRUE(Version(b) > Version(a)) << a << " " << b;
        EXPECT_FALSE(Version(a) < Version(b)) << a << " " << b;
    }
}

TEST(Version, ComparesComponentsAsNumbers) {
    struct Case {
        Version less;
        Version greater;
    };
    const Case cases[] = {
        {Version("1.9"), Version("1.10")},
        {Version("1.2.3"), Version("2")},
        {Version("0.0.9"), Version("0.1")},
        {Version("4294967296.1"), Version("4294967295")}, // 2^32 wraps to 0
        {Version(), Version("0.0.0")},        // no components never wins
        {Version("not a version"), Version("dev")},
        {from({1, 2}), from({1, 2, 0})}, // a prefix is less
    };
    for (const auto& c : cases) {
        const std::string label = print(c.less) + " vs " + print(c.greater);
        EXPECT_TRUE(c.less < c.greater) << label;
        EXPECT_FALSE(c.greater < c.less) << label;
        EXPECT_TRUE(c.greater > c.less) << label;
        EXPECT_FALSE(c.less > c.greater) << label;
    }
}

TEST(Version, Prints) {
    EXPECT_EQ(print(Version("12")), "12.0.0");
    EXPECT_EQ(print(Version("1.20.3")), "1.20.3");
    EXPECT_EQ(print(Version("latest")), "0.0.0");
    EXPECT_EQ(print(Version()), "");
    EXPECT_EQ(print(Version("x")), "");
}

TEST(Version, ExtractsTheVersionOfAResourceName) {
    struct Case {
        const char* name;
        const char* suffix;
        const char* version;
    };
    const Case cases[] = {
        {"/data/english@1.2.language", ".language", "1.2"},
        {"/data/english@latest.language", ".language", "latest"},
        {"/data/english.language", ".language", ""},   // no "@"
        {"/data/english@.language", ".language", ""},  // suffix right after "@"
        {"english@1.2", ".language", "1.2"},            // no suffix to drop
        {"english@1.2.lang", ".language", "1.2.lang"},
        {"a@b@2.dom", ".dom", "b@2"},                   // the first "@" counts
        {"english@3", "", "3"},
        {"english@", "", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(dez::version::extract_version(c.name, c.suffix), c.version) << c.name;
}

TEST(Version, PatternIsSharedAcrossThreads) {
    std::vector<std::thread> threads;
    std::vector<int> valid(4, 0);
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&valid, t] {
            for (int i = 0; i < 500; ++i)
                valid[t] += dez::version::is_valid_version_format(std::to_string(i) + ".1") &&
                            !dez::version::is_valid_version_format("x" + std::to_string(i));
        });
    for (auto& t : threads)
        t.join();
    for (int v : valid)
        EXPECT_EQ(v, 500);
}

TEST(Version, CInterfaceUsesTheGivenLength) {
    EXPECT_TRUE(dez_api_is_valid_version_format("1.2.3", 5, nullptr));
    EXPECT_TRUE(dez_api_is_valid_version_format("1.2.3 trailing", 5, nullptr));
    EXPECT_TRUE(dez_api_is_valid_version_format("latest", 6, nullptr));
    EXPECT_FALSE(dez_api_is_valid_version_format("latest", 3, nullptr));
    EXPECT_FALSE(dez_api_is_valid_version_format(nullptr, 0, nullptr)); // the empty text
    EXPECT_FALSE(dez_api_is_valid_version_format(nullptr, 4, nullptr));
}

} // namespace

#include <gtest/gtest.h>

#include <string>

#include "document/log_capture.h"
#include "domain/abbreviation_expression.h"
#include "domain/temp_tree.h"
#include "foundation/exception.h"

namespace dez::trelix::core {
namespace {

using pipeline::fixture::TempTree;

bool warned_about(const std::string& filename) {
    for (const auto& [level, text] : fixture::runtime_log())
        if (level == dez::wlog::level_warning &&
            text == "Could not load abbreviation file: " + filename)
            return true;
    return false;
}

TEST(AbbreviationExpression, TrimmedLinesWithoutEmptyAlternatives) {
    fixture::runtime_log().clear();
    const std::string file = std::string(TRELIX_TEST_DATA) + "/domain/abbreviations.txt";
    EXPECT_EQ(build_abbreviation_expression(file), "Dr.|Mr.|Prof.");
    EXPECT_FALSE(warned_about(file));

    TempTree tree;
    struct Case {
        const char* content;
        const char* expected;
    };
    for (const Case& c :
         {Case{"Dr.\n\nMr.", "Dr.|Mr."}, Case{"", ""}, Case{"\n \n\r\n", ""},
          Case{"\n\nkm\n", "km"}, Case{"\tkg\x0b \n\f", "kg"}, Case{"'s\n'll\r\n", "'s|'ll"}}) {
        const std::string path = tree.file("list.txt", c.content).string();
        EXPECT_EQ(build_abbreviation_expression(path), c.expected) << c.content;
    }
}

TEST(AbbreviationExpression, UnreadableFileIsReported) {
    TempTree tree;
    fixture::runtime_log().clear();
    EXPECT_EQ(build_abbreviation_expression(""), "");
    EXPECT_TRUE(fixture::runtime_log().empty()) << "no file configured is not a fault";

    const std::string missing = (tree.root / "missing.abbrev").string();
    EXPECT_EQ(build_abbreviation_expression(missing), "");
    EXPECT_TRUE(warned_about(missing));

    const std::string folder = tree.folder("list.abbrev").string();
    EXPECT_EQ(build_abbreviation_expression(folder), "");
    EXPECT_TRUE(warned_about(folder));
}

TEST(AbbreviationExpression, InvalidExpressionThrows) {
    TempTree tree;
    const std::string path = tree.file("bad.abbrev", "Dr.\n(Mr\n").string();
    try {
        build_abbreviation_expression(path);
        FAIL() << "no error";
    } catch (const dez::Exception& e) {
        const std::string message = e.what();
        EXPECT_EQ(message.rfind("Could not load abbreviation invalid expression: ", 0), 0u)
            << message;
        EXPECT_EQ(message.substr(message.size() - path.size() - 1), ":" + path);
    }
}

} // namespace
} // namespace dez::trelix::core

#include "foundation/language_table.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

namespace lang = dez::language;
namespace fs = std::filesystem;

TEST(LanguageTable, CodeTable) {
    const auto& codes = lang::get_language_map();
    EXPECT_EQ(&codes, &lang::language_map());
    EXPECT_EQ(codes.size(), 186u);
    const struct {
        const char* code;
        const char* name;
    } cases[] = {
        {"AA", "afar"},
        {"DA", "danish"},
        {"DK", "danish"},
        {"EN", "english"},
        {"FA", "persian-farsi"},
        {"NR", "southern ndebele"},
        {"PI", "p\xc4\x81li"},
        {"PO", "portuguese"},
        {"PT", "portuguese"},
        {"VO", "volap\xc3\xbck"},
        {"ZH-HANS", "chinese-simplified"},
        {"ZH-HANT", "chinese-traditional"},
        {"ZU", "zulu"},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(codes.count(c.code), 1u) << c.code;
        EXPECT_EQ(codes.at(c.code), c.name);
    }
}

TEST(LanguageTable, CodesInByteOrder) {
    const auto codes = lang::get_language_codes();
    ASSERT_EQ(codes.size(), 186u);
    EXPECT_EQ(*codes.begin(), "AA");
    EXPECT_EQ(*codes.rbegin(), "ZU");
    auto zh = codes.find("ZH");
    ASSERT_NE(zh, codes.end());
    EXPECT_EQ(*std::next(zh, 1), "ZH-HANS");
    EXPECT_EQ(*std::next(zh, 2), "ZH-HANT");
    EXPECT_EQ(*std::next(zh, 3), "ZU");
}

TEST(LanguageTable, CodeOfName) {
    const struct {
        const char* name;
        const char* code;
    } cases[] = {
        {"danish", "DA"},
        {"portuguese", "PO"},
        {"english", "EN"},
        {"zulu", "ZU"},
        {"chinese-traditional", "ZH-HANT"},
        {"English", "not-supported"},
        {"EN", "not-supported"},
        {"", "not-supported"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(lang::get_code(c.name), c.code) << c.name;
}

TEST(LanguageTable, KnownLanguagesAreNames) {
    EXPECT_TRUE(lang::is_known_language("english"));
    EXPECT_TRUE(lang::is_known_language("southern ndebele"));
    EXPECT_FALSE(lang::is_known_language("EN"));
    EXPECT_FALSE(lang::is_known_language("English"));
    // One entry per distinct name: two names have two codes each.
    std::size_t known = 0;
    for (const auto& entry : lang::get_language_map())
        known += lang::get_code(entry.second) == entry.first;
    EXPECT_EQ(known, 184u);
}

TEST(LanguageTable, Genitive) {
    for (const char* name : {"danish", "norwegian", "german", "dutch", "swedish"})
        EXPECT_EQ(lang::get_genitive_form(name), "s") << name;
    for (const char* name : {"english", "Dutch", "DE", ""})
        EXPECT_EQ(lang::get_genitive_form(name), "") << name;
}

TEST(LanguageTable, LongnameOfText) {
    const struct {
        std::string language;
        bool check;
        const char* expected;
    } cases[] = {
        {"en", false, "english"},
        {"En", true, "english"},
        {"EN", true, "english"},
        {"qq", false, "not-supported"},
        {"qq", true, "not-supported"},
        {"zh-hans", true, "not-supported"},
        {"zh-hans", false, "zh-hans"},
        {"ZH-HANS", false, "zh-hans"},
        {"English", true, "english"},
        {"Klingon", true, "not-supported"},
        {"Klingon", false, "klingon"},
        {"SOUTHERN Ndebele", true, "southern ndebele"},
        {"", false, ""},
        {"", true, "not-supported"},
        {"e", true, "not-supported"},
        {"\xc3\x89", false, "not-supported"}, // two bytes: treated as a code
    };
    for (const auto& c : cases)
        EXPECT_EQ(lang::longname(c.language, c.check), c.expected)
            << c.language << " check=" << c.check;
}

class LongnamePaths : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("trelix_language_test_" + std::to_string(::getpid()) + "_" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    fs::path folder_;
};

TEST_F(LongnamePaths, RegularFileKeepsItsCase) {
    const std::string file = (folder_ / "Lang.Data").string();
    std::ofstream(file) << "x";
    EXPECT_EQ(lang::longname(file, true), file);
    EXPECT_EQ(lang::longname(file, false), file);
}

TEST_F(LongnamePaths, FolderIsJustText) {
    const std::string folder = (folder_ / "Sub").string();
    fs::create_directory(folder);
    EXPECT_EQ(lang::longname(folder, true), "not-supported");
    std::string lowered = folder;
    for (auto& c : lowered)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(lang::longname(folder, false), lowered);
}

// Names the file system cannot even query are plain text, not errors.
TEST_F(LongnamePaths, UnqueryablePathsDoNotThrow) {
    const std::string loop_a = (folder_ / "a").string();
    const std::string loop_b = (folder_ / "b").string();
    fs::create_symlink(loop_b, loop_a);
    fs::create_symlink(loop_a, loop_b);
    const std::string too_long(5000, 'x');
    const std::string long_component = "/" + std::string(300, 'y') + "/z";
    for (const std::string& name : {loop_a, too_long, long_component}) {
        EXPECT_NO_THROW(EXPECT_EQ(lang::longname(name, true), "not-supported"));
        EXPECT_NO_THROW(lang::longname(name, false));
    }
    EXPECT_EQ(lang::longname(too_long, false), too_long);
}

} // namespace

#include "foundation/file.h"
#include "foundation/home_path.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

namespace {

namespace fs = std::filesystem;

class TempFile {
public:
    explicit TempFile(const std::string& content)
        : path_(fs::temp_directory_path() /
                ("trelix_file_test_" + std::to_string(::getpid()) + "_" +
                 std::to_string(counter_++))) {
        std::ofstream out(path_, std::ios::binary);
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
    }
    ~TempFile() { fs::remove(path_); }
    std::string path() const { return path_.string(); }

private:
    static inline int counter_ = 0;
    fs::path path_;
};

TEST(FileLoad, ReturnsExactBytes) {
    const std::string cases[] = {"", std::string("a\0b\r\nc\r\n", 8), "plain text"};
    for (const auto& content : cases) {
        TempFile file(content);
        EXPECT_EQ(dez::file::load(file.path().c_str()), content);
    }
}

TEST(FileLoad, MissingFileAndFolderRaiseWithPath) {
    const std::string missing = "/nonexistent/trelix/file.txt";
    for (const std::string& path : {missing, fs::temp_directory_path().string()}) {
        try {
            dez::file::load(path.c_str());
            FAIL() << "expected failure for " << path;
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(std::string(e.what()), "can not open file " + path);
        }
    }
}

class HomeEnvironment : public testing::Test {
protected:
    void SetUp() override {
        if (const char* home = std::getenv("HOME"))
            saved_ = home;
    }
    void TearDown() override {
        if (saved_)
            setenv("HOME", saved_->c_str(), 1);
        else
            unsetenv("HOME");
    }
    std::optional<std::string> saved_;
};

TEST_F(HomeEnvironment, ResolveHomeExpandsEverySpelling) {
    setenv("HOME", "/home/user", 1);
    struct Case {
        const char* input;
        const char* expected;
    };
    const Case cases[] = {
        {"~/data", "/home/user/data"},        {"$HOME/data", "/home/user/data"},
        {"${HOME}/data", "/home/user/data"},  {"$(HOME)/data", "/home/user/data"},
        {"~\\data", "/home/user/data"},       {"~", "~"},
        {"~/", "~/"},                         {"~user/data", "~user/data"},
        {"/abs/~/x", "/abs/~/x"},             {"~//abs", "/abs"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fs::resolve_home(c.input).string(), c.expected) << c.input;
}

TEST_F(HomeEnvironment, ResolveHomeWithoutHomeLeavesPaths) {
    unsetenv("HOME");
    for (const char* p : {"~/data", "$HOME/x", "plain"})
        EXPECT_EQ(fs::resolve_home(p).string(), p);
}

TEST(ChopFilename, KeepsLastComponents) {
    struct Case {
        const char* path;
        int count;
        const char* expected;
    };
    const Case cases[] = {
        {"/a/b/c", 2, "b/c"},   {"/a/b/c", 1, "c"},  {"/a/b/c", 4, "/a/b/c"},
        {"/a/b/c", 9, "/a/b/c"}, {"/a/b/c", 0, ""},   {"name", 1, "name"},
        {"name", 3, "name"},    {"name", 0, ""},     {"a/b/", 1, ""},
        {"a/b/", 2, "b/"},      {"/a/b/c", 3, "a/b/c"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fs::chop_filename(c.path, c.count), c.expected) << c.path << " " << c.count;
}

} // namespace

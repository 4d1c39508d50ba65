#include "foundation/input_provider.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <limits>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// A scratch folder of its own per test, removed afterwards.
class FileProviderTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = fs::temp_directory_path() /
              ("trelix_input_" + std::to_string(::getpid()) + "_" + info->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string write(const std::string& name, const std::string& bytes) {
        const std::string path = (dir / name).string();
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    fs::path dir;
};

TEST(StringProvider, NamedKeepsIdAndText) {
    // Two code points of two bytes each: the size counts bytes.
    const std::string text = "r\xC3\xA9gle \xC3\xBC";
    dez::StringProvider provider("main.tlx", text);
    EXPECT_EQ(provider.type(), "si");
    EXPECT_EQ(provider.get_id(), "main.tlx");
    EXPECT_EQ(provider.get_data(), text);
    EXPECT_EQ(provider.size(), 9u);
}

TEST(StringProvider, UnnamedIdComesFromTheText) {
    dez::StringProvider a("rule x = a;");
    dez::StringProvider b("rule x = a;");
    dez::StringProvider c("rule x = b;");
    EXPECT_EQ(a.get_id(), b.get_id());
    EXPECT_NE(a.get_id(), c.get_id());
    EXPECT_EQ(a.get_id().rfind("stream_", 0), 0u);
    EXPECT_EQ(a.get_data(), "rule x = a;");
}

TEST(StringProvider, EmptyTextGetsTheHashOfTheEmptyText) {
    dez::StringProvider provider{std::string()};
    // The GNU library's byte hash of no bytes.
    EXPECT_EQ(provider.get_id(), "stream_6142509188972423790");
    EXPECT_EQ(provider.size(), 0u);
    EXPECT_EQ(provider.get_data(), "");
}

TEST_F(FileProviderTest, ReadsTheWholeFileByteForByte) {
    const std::string bytes = std::string("a\r\nb\0c\r\n", 8);
    const std::string path = write("source.tlx", bytes);
    dez::FileProvider provider(path);
    EXPECT_EQ(provider.type(), "fi");
    EXPECT_EQ(provider.get_id(), path);
    EXPECT_EQ(provider.get_data(), bytes);
    EXPECT_EQ(provider.size(), 8u);
}

TEST_F(FileProviderTest, EmptyFile) {
    dez::FileProvider provider(write("empty.tlx", ""));
    EXPECT_EQ(provider.get_data(), "");
    EXPECT_EQ(provider.size(), 0u);
}

TEST_F(FileProviderTest, SeesTheFileAsItIsAtEachCall) {
    const std::string path = write("changing.tlx", "one");
    dez::FileProvider provider(path);
    EXPECT_EQ(provider.get_data(), "one");
    write("changing.tlx", "three");
    EXPECT_EQ(provider.get_data(), "three");
    EXPECT_EQ(provider.size(), 5u);
}

TEST_F(FileProviderTest, MissingFile) {
    const std::string path = (dir / "missing.tlx").string();
    dez::FileProvider provider(path); // opens nothing, so does not fail
    EXPECT_EQ(provider.get_id(), path);
    EXPECT_EQ(provider.size(), std::numeric_limits<std::uint64_t>::max());
    try {
        provider.get_data();
        FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()), "can not open file " + path);
    }
}

TEST(InputProvider, KindsThroughTheInterface) {
    dez::StringProvider text("x", "y");
    dez::FileProvider file("/nonexistent/z.tlx");
    const dez::IInputProvider* providers[] = {&text, &file};
    EXPECT_EQ(providers[0]->type(), dez::StringProvider::object_type);
    EXPECT_EQ(providers[1]->type(), dez::FileProvider::object_type);
    EXPECT_EQ(providers[1]->get_id(), "/nonexistent/z.tlx");
}

} // namespace

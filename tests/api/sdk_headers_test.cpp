#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

// Both sets of shared definitions in one unit: the second of each pair must
// add nothing (a redefinition would not compile).
#include "api/sdk/qvr_exception.h"
#include "api/sdk/raw_ptr_list.h"
#include "document/raw_ptr_list.h"
#include "foundation/qvr_exception.h"

namespace {

namespace fs = std::filesystem;

const fs::path source_root = fs::path(TRELIX_TEST_DATA).parent_path().parent_path();

std::string read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The guarded block of a header, from its #ifndef to its closing #endif.
std::string guarded_block(const fs::path& path, const std::string& guard) {
    const std::string text = read(path);
    const auto begin = text.find("#ifndef " + guard);
    const auto end = text.find("#endif // " + guard);
    if (begin == std::string::npos || end == std::string::npos)
        return std::string();
    return text.substr(begin, end - begin);
}

TEST(SdkHeaders, SharedDefinitionsStayIdenticalToTheLibrarys) {
    struct Case {
        const char* library;
        const char* sdk;
        const char* guard;
    };
    const Case cases[] = {
        {"foundation/qvr_exception.h", "api/sdk/qvr_exception.h",
         "QVR_COMMON_EXCEPTION_DEFINITIONS"},
        {"document/raw_ptr_list.h", "api/sdk/raw_ptr_list.h",
         "QVR_COMMON_RAW_PTR_LIST_DEFINITIONS"},
    };
    for (const Case& c : cases) {
        const std::string library = guarded_block(source_root / c.library, c.guard);
        ASSERT_FALSE(library.empty()) << c.library;
        EXPECT_EQ(guarded_block(source_root / c.sdk, c.guard), library) << c.sdk;
    }
}

TEST(SdkHeaders, IncludeNothingButEachOtherAndSystemHeaders) {
    const std::regex include("#include\\s*\"([^\"]+)\"");
    const fs::path sdk = source_root / "api" / "sdk";
    int headers = 0;
    for (const auto& entry : fs::directory_iterator(sdk)) {
        ++headers;
        const std::string text = read(entry.path());
        for (std::sregex_iterator it(text.begin(), text.end(), include), end; it != end; ++it) {
            const std::string name = (*it)[1];
            EXPECT_TRUE(name.find('/') == std::string::npos && fs::exists(sdk / name))
                << entry.path().filename() << " includes " << name;
        }
    }
    EXPECT_GT(headers, 0);
}

} // namespace

#pragma once

// A scratch folder per test holding one container with the FILES table.

#include "core-afst/serialization.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

namespace afst_test {

class ContainerFixture : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = std::filesystem::temp_directory_path() /
              ("trelix_files_" + std::to_string(::getpid()) + "_" + info->test_suite_name() + "_" +
               info->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        path = (dir / "store.dom").string();
        db = dez::afst::serialization::open_file(path);
        ASSERT_TRUE(dez::afst::serialization::create_cbf_table(db.get()));
    }
    void TearDown() override {
        db.reset();
        std::filesystem::remove_all(dir);
    }

    std::filesystem::path dir;
    std::string path;
    std::shared_ptr<sqlite3> db;
};

} // namespace afst_test

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include "compiler/build/string_string_map.h"
#include "core-afst/serialization.h"
#include "core-afst/serialization_object.h"

namespace dez::compiler {
namespace {

StringStringMap read(const std::string& json) {
    StringStringMap map{{"stale", "entry"}};
    std::istringstream in(json);
    map.istream(in);
    return map;
}

TEST(StringStringMap, WritesCompactObjectsAndNullWhenEmpty) {
    std::ostringstream out;
    StringStringMap{{"0_places.tlx", "/src/places.tlx"}, {"a", "q\"\\\n\xC3\xA9"}}.ostream(out);
    EXPECT_EQ(out.str(), "{\"0_places.tlx\":\"/src/places.tlx\",\"a\":\"q\\\"\\\\\\n\xC3\xA9\"}");
    std::ostringstream empty;
    StringStringMap().ostream(empty);
    EXPECT_EQ(empty.str(), "null");
    std::ostringstream bad;
    EXPECT_THROW(StringStringMap({{"k", "\xFF"}}).ostream(bad), nlohmann::json::type_error);
}

TEST(StringStringMap, ReadsEveryShape) {
    struct Case {
        const char* json;
        StringStringMap expected;
    };
    for (const Case& c : {
             Case{"null", {}},
             Case{R"({"b":"2","a":"1"})", {{"a", "1"}, {"b", "2"}}},
             Case{R"(["x","y"])", {{"0", "x"}, {"1", "y"}}},
             Case{R"("alone")", {{"", "alone"}}},
             Case{R"({"a":"1"} xyz)", {{"a", "1"}}},
         }) {
        testing::internal::CaptureStdout();
        EXPECT_EQ(read(c.json), c.expected) << c.json;
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << c.json;
    }
}

TEST(StringStringMap, WrongShapeKeepsTheContentAndSaysSo) {
    for (const char* json : {R"({"a":1})", "[true]", "3"}) {
        testing::internal::CaptureStdout();
        EXPECT_EQ(read(json), (StringStringMap{{"stale", "entry"}})) << json;
        const std::string said = testing::internal::GetCapturedStdout();
        EXPECT_EQ(said.rfind("Invalid json stream StringStringMap[json.exception.type_error.302] "
                             "type must be string, but is ",
                             0),
                  0u)
            << said;
        EXPECT_EQ(said.back(), '\n');
    }
    testing::internal::CaptureStdout();
    read(R"({"a":1})");
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Invalid json stream StringStringMap[json.exception.type_error.302] type must be "
              "string, but is number\n");
    EXPECT_THROW(read(R"({"a":)"), nlohmann::json::parse_error);
}

TEST(StringStringMap, JsonConversionHooks) {
    nlohmann::json j = StringStringMap{{"k", "v"}};
    EXPECT_EQ(j.dump(), R"({"k":"v"})");
    EXPECT_EQ(nlohmann::json(StringStringMap()).dump(), "null");
    EXPECT_EQ(nlohmann::json::parse(R"(["p"])").get<StringStringMap>(),
              (StringStringMap{{"0", "p"}}));
}

class RecordRows : public ::testing::Test {
protected:
    void SetUp() override {
        path = std::filesystem::temp_directory_path() /
               ("trelix_records_" + std::to_string(::getpid()) + ".dom_inc");
        db = dez::afst::serialization::open_file(path);
        ASSERT_TRUE(dez::afst::serialization::create_cbf_table(db.get()));
    }
    void TearDown() override {
        db.reset();
        std::filesystem::remove(path);
    }
    void store(const std::string& key, const std::string& data) {
        dez::afst::serialization::store_binary_data(db.get(), key, "", data.data(), data.size());
    }

    std::filesystem::path path;
    std::shared_ptr<sqlite3> db;
};

TEST_F(RecordRows, GetObjectReadsTheRecordOrGivesAnEmptyOne) {
    using dez::afst::serialization::get_object;
    std::ostringstream written;
    StringStringMap{{"0_a.tlx", "/src/a.tlx"}}.ostream(written);
    store("uniq_id_2_filename_map", written.str());
    store("empty_row", "");
    store("null_row", "null");
    store("broken", R"({"a":)");

    EXPECT_EQ(get_object<StringStringMap>(db, "uniq_id_2_filename_map"),
              (StringStringMap{{"0_a.tlx", "/src/a.tlx"}}));
    EXPECT_TRUE(get_object<StringStringMap>(db, "missing").empty());
    EXPECT_TRUE(get_object<StringStringMap>(db, "empty_row").empty());
    EXPECT_TRUE(get_object<StringStringMap>(db, "null_row").empty());
    EXPECT_TRUE(get_object<StringStringMap>(nullptr, "uniq_id_2_filename_map").empty());
    EXPECT_THROW(get_object<StringStringMap>(db, "broken"), nlohmann::json::parse_error);
}

} // namespace
} // namespace dez::compiler

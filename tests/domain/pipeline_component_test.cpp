#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <nlohmann/json.hpp>

#include "domain/pipeline_component.h"
#include "domain/temp_tree.h"

namespace dez::pipeline {
namespace {

TEST(PipelineComponent, KindTables) {
    EXPECT_EQ(from_extension_to_component(""), 0);
    EXPECT_EQ(from_extension_to_component(".dom"), 1);
    EXPECT_EQ(from_extension_to_component(".language"), 2);
    EXPECT_EQ(from_extension_to_component(".app"), 3);
    EXPECT_EQ(from_extension_to_component(".DOM"), -1);
    EXPECT_EQ(from_extension_to_component(".xyz"), -1);

    EXPECT_EQ(from_component_type_to_string(0), "");
    EXPECT_EQ(from_component_type_to_string(1), "domain");
    EXPECT_EQ(from_component_type_to_string(2), "language");
    EXPECT_EQ(from_component_type_to_string(3), "app");
    EXPECT_EQ(from_component_type_to_string(4), "");
    EXPECT_EQ(from_component_type_to_string(-1), "");
}

TEST(PipelineComponent, Pipeline2Str) {
    EXPECT_EQ(pipeline2str({}), "[]");
    EXPECT_EQ(pipeline2str({"x"}), "['x']");
    EXPECT_EQ(pipeline2str({"a", "b"}), "['a','b']");
}

TEST(PipelineComponent, AppIsWrittenByNameAndVersion) {
    Component c;
    c.original = "tagger@2.app";
    c.options = "{}";
    c.name = "tagger";
    c.version = "2";
    c.type = component_app;
    nlohmann::json object = nlohmann::json::object();
    component_to_json(c, object);
    EXPECT_EQ(object,
              nlohmann::json::parse(
                  R"({"name":"tagger@2","options":"{}","original":"tagger@2.app","type":"app"})"));
    c.version.clear();
    component_to_json(c, object);
    EXPECT_EQ(object["name"], "tagger");
}

TEST(PipelineComponent, DomainFilenameIsCanonical) {
    fixture::TempTree tree;
    tree.file("data/entity.dom");
    tree.folder("other");
    Component c;
    c.original = "entity";
    c.options = R"({"a":"b"})";
    c.type = component_domain;
    c.filename = (tree.root / "other" / ".." / "data" / "entity.dom").string();
    nlohmann::json object = nlohmann::json::object();
    component_to_json(c, object);
    EXPECT_EQ(object["filename"],
              std::filesystem::canonical(tree.root / "data" / "entity.dom").string());
    EXPECT_EQ(object["options"], R"({"a":"b"})");
    EXPECT_FALSE(object.contains("name"));

    c.filename = (tree.root / "gone.dom").string();
    EXPECT_THROW(component_to_json(c, object), std::filesystem::filesystem_error);
}

} // namespace
} // namespace dez::pipeline

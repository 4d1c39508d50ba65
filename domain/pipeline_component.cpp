#include "domain/pipeline_component.h"

#include <filesystem>

#include <nlohmann/json.hpp>

namespace dez::pipeline {

const std::vector<std::string> from_component_type_to_string_names = {"", "domain", "language",
                                                                      "app"};
const std::vector<std::string> from_extension_string_to_component_type = {"", ".dom", ".language",
                                                                          ".app"};

int32_t from_extension_to_component(const std::string& extension) {
    for (size_t i = 0; i < from_extension_string_to_component_type.size(); ++i)
        if (from_extension_string_to_component_type[i] == extension)
            return static_cast<int32_t>(i);
    return -1;
}

std::string from_component_type_to_string(int32_t kind) {
    if (kind < 0 || static_cast<size_t>(kind) >= from_component_type_to_string_names.size())
        return std::string();
    return from_component_type_to_string_names[static_cast<size_t>(kind)];
}

std::string pipeline2str(const std::vector<std::string>& names) {
    if (names.empty())
        return "[]";
    std::string out = "['";
    for (size_t i = 0; i < names.size(); ++i) {
        if (i != 0)
            out += "','";
        out += names[i];
    }
    out += "']";
    return out;
}

void component_to_json(const Component& component, nlohmann::json& object) {
    object["type"] = from_component_type_to_string(component.type);
    object["options"] = component.options;
    object["original"] = component.original;
    if (component.type == component_domain || component.type == component_language) {
        object["filename"] = std::filesystem::canonical(component.filename).string();
        return;
    }
    object["name"] =
        component.version.empty() ? component.name : component.name + "@" + component.version;
}

} // namespace dez::pipeline

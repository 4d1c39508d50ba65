#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

namespace dez::pipeline {

// The kinds of resource a pipeline names; they index the two tables below.
enum : int32_t {
    component_none = 0,
    component_domain = 1,
    component_language = 2,
    component_app = 3,
};

// Printed names, indexed by kind ("" for none).
extern const std::vector<std::string> from_component_type_to_string_names;
// File extensions, indexed by kind ("" for none).
extern const std::vector<std::string> from_extension_string_to_component_type;

// One entry of a pipeline string. The parser fills `original` and `options`;
// the expansion derives the rest.
struct Component {
    std::string original;                // the text before the option group, spaces kept
    std::string options;                 // the option group without its parentheses, "{}" when none
    std::string name;                    // original without version and extension
    std::string basename;                // name after its directory
    std::string directory;               // name before its last "/", empty when none
    std::string version;                 // text after "@", without the extension
    std::vector<std::string> extensions; // extensions searched, in order
    int32_t type = component_none;
    std::string filename; // the file resolved to
};

// The kind of an exact extension such as ".dom" (case-sensitive); -1 when
// unknown, 0 for the empty string.
int32_t from_extension_to_component(const std::string& extension);

// The printed name of a kind; "" outside the table.
std::string from_component_type_to_string(int32_t kind);

// "['a','b']"; "[]" for no item. Items are not escaped.
std::string pipeline2str(const std::vector<std::string>& names);

// Writes "type", "options", "original" and, for a domain or language, the
// canonical "filename" (which must exist), else "name" (with "@version").
void component_to_json(const Component& component, nlohmann::json& object);

} // namespace dez::pipeline

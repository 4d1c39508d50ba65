#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "domain/pipeline_component.h"

namespace dez::pipeline {

// Fills type, extensions, name, version, basename and directory of a parsed
// component from its original text. A name without extension whose head is
// an English language name ("english", "data/english") and that has no "-"
// becomes a language; an explicit extension ("english.dom") keeps its kind.
void derive_fields(Component& component);

// Adds the number of regular files directly in folder whose extension, dot
// included, is extension (every regular file when it is empty). Throws the
// file-system error when the folder cannot be listed.
void collect_files_with_extension(const std::filesystem::path& folder, const std::string& extension,
                                  size_t& count);

// The search context of one expansion.
struct ComponentSplitter {
    std::vector<std::filesystem::path> paths; // searched in this order
    bool allow_file_access = false;           // may a component name a file or folder directly
    bool allow_dev = false;                   // may the latest search choose a "dev" file
    std::string language;                     // file-name prefix; empty when none

    // True when the component's original names an existing file or folder;
    // entry is then complete (resolved or refused). Throws pipeline_error when
    // file access is not allowed or the file has no known extension.
    bool check_existing_paths(const Component& component, nlohmann::json& entry) const;

    // Looks for the component in one folder: the highest version present when
    // its version is "latest", else the exact file name (language-prefixed
    // first). True sets filename (and version, and a kind that was none);
    // false leaves the component as it was. A folder that cannot be listed,
    // and a component without name, find nothing.
    bool add_identifier(Component& component, const std::filesystem::path& folder) const;

private:
    bool find_exact(Component& component, const std::filesystem::path& folder) const;
    bool find_latest(Component& component, const std::filesystem::path& folder) const;
};

} // namespace dez::pipeline

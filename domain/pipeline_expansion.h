#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

namespace dez::pipeline {

// Expands a pipeline text over folders searched in order: one JSON object per
// non-empty component, either resolved ("filename" or, for an app, "name") or
// refused ("exception_type", "exception_msg"). A leading language component
// that is found becomes the file-name prefix of the components after it.
// A component without version is looked up exactly in every folder first,
// then as the highest version. Throws pipeline_error for a malformed pipeline
// or a component naming a path it may not use.
nlohmann::json expand2json(const std::string& pipeline,
                           const std::vector<std::filesystem::path>& paths, bool allow_file_access,
                           bool allow_dev, const std::string& language);

// The same over folder texts, made into paths by convert2paths first.
nlohmann::json expand2json(const std::string& pipeline, const std::vector<std::string>& folders,
                           bool allow_file_access, bool allow_dev, const std::string& language);

// The folders that exist, canonical, in order; a folder ending in "morfex"
// brings its "trelix" sub-folder in at the end unless a ".../trelix" folder
// is listed already. Folders that cannot be read are left out.
std::vector<std::filesystem::path> convert2paths(const std::vector<std::string>& folders);

// expand2json printed compactly (invalid UTF-8 dropped). Every failure
// becomes a dez::JSONThrowException whose message is the JSON object
// {"exception_msg", "exception_type", "name"}.
std::string expand(const std::string& pipeline, const std::vector<std::string>& folders,
                   bool allow_file_access, bool allow_dev, const std::string& language);

// Prints every element strictly and discards the text: throws the JSON
// library's error for text that is not valid UTF-8, else true.
bool test_expanded_pipeline(const nlohmann::json& expanded);

// Whether an entry is a refusal because nothing of that name was found (as
// opposed to a name that may not be used). The language loader resolves a
// bare language name through the expansion, and on such an entry goes on
// with its own file search and its generic-language fallback instead of
// failing; every other refusal stays a failure.
bool is_not_found(const nlohmann::json& entry);

// The compiled file a domain name stands for: the "filename" of the first
// component it expands to over `folders`. dez::Exception "Domain file not
// found. " + name when it expands to nothing or to a refusal.
std::string find_domain_file(const std::string& name, const std::vector<std::string>& folders,
                             bool allow_dev);

} // namespace dez::pipeline

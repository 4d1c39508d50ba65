#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "foundation/options.h"

namespace dez::trelix {

// Settles the options "root_path" and "morfex" in place: the root from the
// option, TRELIX_ROOT, this library's location or the executable's; the
// language-data folders (':'-separated) from the option, TRELIX_MORFEX,
// root/morfex or root/../morfex. Fails with dez::Exception when the root or a
// data folder does not exist. The options are changed even when it fails.
void fill_in_sdk_paths(const std::shared_ptr<dez::IOptions>& options);

// The data folders fill_in_sdk_paths finds without options; empty when none.
std::string get_default_morfex();

// Every entry replaced by its canonical absolute path; a missing one raises
// the filesystem error.
void normalize_paths(std::vector<std::string>& paths);

// The language name of a `.language` file under one of the folders: the text
// between the folder's separator and the extension (/d/en/english.language
// under /d gives en/english). The file unchanged when no folder holds it.
std::string relative_to_paths(const std::string& file,
                              const std::vector<std::filesystem::path>& folders);

} // namespace dez::trelix

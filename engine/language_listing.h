#pragma once

#include <string>

#include <nlohmann/json_fwd.hpp>

namespace dez::trelix {

// Walks `folder` (entries in the file system's order) and, for every regular
// file with `extension` (any regular file when it is empty), files it under
// result[language][variant]: `<language>.ext` is variant "none",
// `<language>@<variant>.ext` that variant. The entry is the file's support
// level (add_support_level). A language and variant already listed keep the
// file met first, so an earlier folder wins over a later one. With
// `recursive` sub-folders are walked too. Returns how many files had the
// extension. A folder that cannot be listed raises the file-system error.
int collect_language_files(const std::string& folder, const std::string& extension,
                           nlohmann::json& result, bool recursive);

// What the `.language` file supports: {"support": ["tokenizer" or
// "tokenizer_locale", "morphology"]} for the sections it has, left as it was
// for a file with none of them (or one that does not exist), and
// {"error": "Invalid json language file."} for a file that is not JSON.
void add_support_level(nlohmann::json& entry, const std::string& filename);

} // namespace dez::trelix

#pragma once

#include <string>

namespace dez::trelix {

// The file that serves a plugin name in `folder`: <stem>.so, else a file
// <stem>_plugin*.so (the stem is "_trelix" for "python", else the name);
// empty when there is none or the name could leave the folder.
std::string generate_plugin_filename(const std::string& folder, const std::string& name);

// Sets `result` to the regular file (links followed) of `folder` whose
// extension is `extension` (any when empty) and whose name begins with
// `prefix`; among several, the last by name, so that the choice does not
// depend on the file system's order. Enters sub-folders when `recursive`.
// A folder that cannot be listed raises the file-system error.
void find_plugin_file(const std::string& folder, const std::string& extension,
                      const std::string& prefix, std::string& result, bool recursive);

} // namespace dez::trelix

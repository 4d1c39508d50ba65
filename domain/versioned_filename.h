#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace dez::trelix::core {

// The file a data-file name stands for: the name itself when it exists, else
// the first folder under which it exists. A name whose stem holds "@latest"
// ("english@latest.language") stands for the file of that base with the
// highest version in the folders: its actual path is returned. Among equal
// versions the later folder, and in one folder the later file name, wins.
// The empty path when nothing is found; folders that cannot be listed are
// passed over.
std::filesystem::path generate_filename(const std::string& name,
                                        const std::vector<std::filesystem::path>& folders);

// A debugging aid for hosts: writes the name to standard output.
void test_generate_filename(const std::string& name);

} // namespace dez::trelix::core

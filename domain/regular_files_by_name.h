#pragma once

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace dez::trelix::core {

// The names of the regular files directly in `folder`, sorted, so that the
// latest-version searches settle ties between equal versions the same way on
// every file system. Sets `ec` and gives no name when the folder cannot be
// listed.
std::vector<std::string> regular_files_by_name(const std::filesystem::path& folder,
                                               std::error_code& ec);

} // namespace dez::trelix::core

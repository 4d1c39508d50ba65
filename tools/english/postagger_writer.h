#pragma once

#include <filesystem>

namespace trelix_tools {

// The disambiguation transducer: the "regex:" pattern lines of the source
// file (blank lines and '#' comments skipped), built into one network.
void write_postagger(const std::filesystem::path& source, const std::filesystem::path& file);

} // namespace trelix_tools

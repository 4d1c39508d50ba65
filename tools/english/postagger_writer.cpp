#include "tools/english/postagger_writer.h"

#include "tools/english/transducer_writer.h"

#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace trelix_tools {

void write_postagger(const std::filesystem::path& source, const std::filesystem::path& file) {
    std::ifstream in(source);
    if (!in)
        throw std::runtime_error("cannot read " + source.string());
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && line[0] != '#')
            lines.push_back(line);
    write_pattern_lines(lines, file);
}

} // namespace trelix_tools

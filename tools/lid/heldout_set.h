#pragma once

// The held-out evaluation lines written by make_lid_data: "CODE<TAB>text".

#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace trelix_tools {

struct HeldoutLine {
    std::string code;
    std::string text;
};

inline std::vector<HeldoutLine> read_heldout_set(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw std::runtime_error("missing held-out set " + path);
    std::vector<HeldoutLine> lines;
    for (std::string line; std::getline(file, line);) {
        const std::size_t tab = line.find('\t');
        if (tab == std::string::npos)
            continue;
        lines.push_back({line.substr(0, tab), line.substr(tab + 1)});
    }
    return lines;
}

} // namespace trelix_tools

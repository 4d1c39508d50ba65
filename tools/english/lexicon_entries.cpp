#include "tools/english/lexicon_entries.h"

#include <fstream>
#include <stdexcept>

namespace trelix_tools {

namespace {

// Characters the pattern-line reader treats specially, and the colon that
// splits read from written text.
bool needs_escape(char c) {
    switch (c) {
    case '.':
    case '*':
    case '\\':
    case '+':
    case '?':
    case '(':
    case ')':
    case '[':
    case ']':
    case '{':
    case '}':
    case ',':
    case '|':
    case '$':
    case ':':
        return true;
    default:
        return false;
    }
}

std::string escaped(const std::string& text, bool lower_side) {
    std::string out;
    out.reserve(text.size() + 4);
    for (char c : text) {
        // Only the read side splits at a colon.
        if (needs_escape(c) && (lower_side || c != ':'))
            out += '\\';
        out += c;
    }
    return out;
}

} // namespace

void LexiconEntries::add(const std::string& surface, const std::string& stem,
                         const std::string& pos, const std::string& tags) {
    std::string label = stem + "+" + pos;
    if (!tags.empty())
        label += "+" + tags;
    add_label(surface, label);
}

void LexiconEntries::add_label(const std::string& surface, const std::string& label) {
    if (surface.empty() || label.find('+') == std::string::npos)
        throw std::invalid_argument("bad lexicon entry [" + surface + "] [" + label + "]");
    entries_.emplace(surface, label);
    surfaces_.insert(surface);
}

bool LexiconEntries::has_surface(const std::string& surface) const {
    return surfaces_.count(surface) != 0;
}

std::vector<Entry> read_word_list(const std::filesystem::path& file) {
    std::ifstream in(file);
    if (!in)
        throw std::runtime_error("cannot read word list " + file.string());
    std::vector<Entry> entries;
    std::size_t number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        const auto gap = line.find_first_of(" \t");
        const auto label = line.find_first_not_of(" \t", gap == std::string::npos ? gap : gap + 1);
        if (gap == std::string::npos || label == std::string::npos ||
            line.find('+', label) == std::string::npos)
            throw std::runtime_error(file.string() + ":" + std::to_string(number) +
                                     ": expected a surface form and a label stem+POS");
        std::string text = line.substr(label);
        while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
            text.pop_back();
        entries.emplace_back(line.substr(0, gap), text);
    }
    return entries;
}

std::string pattern_line(const Entry& entry) {
    const std::string& label = entry.second;
    // The stem ends at the first '+' that is not the label's first character,
    // so that a stem such as "+" itself survives.
    const auto plus = label.find('+', 1);
    const std::string stem = label.substr(0, plus);
    const std::string rest = label.substr(plus);
    return escaped(entry.first, true) + ":" + escaped(stem, false) + "[" + rest + "]";
}

} // namespace trelix_tools

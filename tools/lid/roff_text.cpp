#include "tools/lid/roff_text.h"

#include <cstddef>

namespace trelix_tools {

namespace {

// Special characters that matter to words; any other becomes a space.
std::string special_character(const std::string& name) {
    if (name == "aq" || name == "cq" || name == "oq")
        return "'";
    if (name == "lq" || name == "rq" || name == "Lq" || name == "Rq" || name == "dq")
        return "\"";
    if (name == "em" || name == "en" || name == "hy")
        return "-";
    return " ";
}

// The text of a line with its escapes resolved.
std::string unescape(const std::string& line) {
    std::string out;
    const std::size_t n = line.size();
    for (std::size_t i = 0; i < n; ++i) {
        const char c = line[i];
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++i >= n)
            break;
        const char e = line[i];
        auto skip_name = [&]() -> std::string {
            // The name after an escape: (xx, [name] or one character.
            if (i + 1 >= n)
                return {};
            if (line[i + 1] == '(') {
                std::string name = line.substr(i + 2, 2);
                i += 3;
                return name;
            }
            if (line[i + 1] == '[') {
                const std::size_t close = line.find(']', i + 2);
                const std::size_t stop = close == std::string::npos ? n - 1 : close;
                std::string name = line.substr(i + 2, stop - i - 2);
                i = stop;
                return name;
            }
            ++i;
            return line.substr(i, 1);
        };
        switch (e) {
        case '"':
        case '#':
            return out; // comment to the end of the line
        case 'f':
        case '*':
        case 'n':
        case 'm':
        case 'g':
        case 'k':
        case 'F':
        case 'V':
        case 'Y':
            skip_name();
            if (e == '*')
                out += ' ';
            break;
        case '(':
            out += special_character(line.substr(i + 1, 2));
            i += 2;
            break;
        case '[': {
            const std::size_t close = line.find(']', i + 1);
            const std::size_t stop = close == std::string::npos ? n - 1 : close;
            out += special_character(line.substr(i + 1, stop - i - 1));
            i = stop;
            break;
        }
        case 's':
            if (i + 1 < n && (line[i + 1] == '+' || line[i + 1] == '-'))
                ++i;
            if (i + 1 < n && (line[i + 1] == '(' || line[i + 1] == '['))
                skip_name();
            else
                while (i + 1 < n && line[i + 1] >= '0' && line[i + 1] <= '9')
                    ++i;
            break;
        case 'h':
        case 'v':
        case 'w':
        case 'o':
        case 'l':
        case 'L':
        case 'D':
        case 'x':
        case 'b':
        case 'X':
        case 'Z':
        case 'N':
        case 'A':
        case 'B':
        case 'C':
        case 'R':
        case 'S':
            // A delimited argument: '...'.
            if (i + 1 < n) {
                const char delimiter = line[i + 1];
                const std::size_t close = line.find(delimiter, i + 2);
                i = close == std::string::npos ? n - 1 : close;
            }
            break;
        case '-':
            out += '-';
            break;
        case 'e':
        case '\\':
            out += '\\';
            break;
        case ' ':
        case '~':
        case '0':
        case 't':
            out += ' ';
            break;
        case '&':
        case '%':
        case 'c':
        case '|':
        case '^':
        case ')':
        case ':':
        case '/':
        case ',':
            break;
        default:
            out += e;
        }
    }
    return out;
}

// The arguments of a macro line with their quotes removed.
std::string macro_arguments(const std::string& line) {
    const std::size_t space = line.find_first_of(" \t");
    if (space == std::string::npos)
        return {};
    std::string out;
    for (std::size_t i = space; i < line.size(); ++i)
        if (line[i] != '"')
            out += line[i];
    return out;
}

} // namespace

std::vector<std::string> roff_prose(const std::string& page) {
    std::vector<std::string> paragraphs;
    std::string paragraph;
    auto flush = [&] {
        if (paragraph.find_first_not_of(" \t") != std::string::npos)
            paragraphs.push_back(paragraph);
        paragraph.clear();
    };
    bool literal = false;
    std::size_t start = 0;
    while (start <= page.size()) {
        std::size_t stop = page.find('\n', start);
        if (stop == std::string::npos)
            stop = page.size();
        const std::string line = page.substr(start, stop - start);
        start = stop + 1;
        if (!line.empty() && (line[0] == '.' || line[0] == '\'')) {
            std::string request = line.substr(1, line.find_first_of(" \t", 1) - 1);
            if (request == "nf" || request == "EX" || request == "TS" || request == "Bd") {
                flush();
                literal = true;
            } else if (request == "fi" || request == "EE" || request == "TE" || request == "Ed") {
                literal = false;
            } else if (literal) {
                continue;
            } else if (request == "B" || request == "I" || request == "BR" || request == "RB" ||
                       request == "IR" || request == "RI" || request == "BI" || request == "IB" ||
                       request == "SM" || request == "SB") {
                paragraph += ' ' + unescape(macro_arguments(line));
            } else {
                // Headings, paragraph and indentation requests end a paragraph.
                flush();
            }
            continue;
        }
        if (literal)
            continue;
        if (line.find_first_not_of(" \t") == std::string::npos) {
            flush();
            continue;
        }
        paragraph += ' ' + unescape(line);
    }
    flush();
    return paragraphs;
}

std::vector<std::string> split_pages(const std::string& text) {
    std::vector<std::string> pages;
    std::size_t start = 0;
    std::size_t page_start = 0;
    while (start < text.size()) {
        std::size_t stop = text.find('\n', start);
        if (stop == std::string::npos)
            stop = text.size();
        if ((text.compare(start, 4, ".TH ") == 0 || text.compare(start, 4, ".Dt ") == 0) &&
            start > page_start) {
            pages.push_back(text.substr(page_start, start - page_start));
            page_start = start;
        }
        start = stop + 1;
    }
    if (page_start < text.size())
        pages.push_back(text.substr(page_start));
    return pages;
}

} // namespace trelix_tools

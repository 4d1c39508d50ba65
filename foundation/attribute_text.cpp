#include "foundation/attribute_text.h"

#include "foundation/exception.h"
#include "foundation/string_utils.h"

#include <sstream>
#include <stdexcept>

namespace {

// The format has no escapes, so refuse what would not read back unchanged.
void check_attribute_pair(const std::pair<std::string, std::string>& pair) {
    if (pair.first.find_first_of("=;") != std::string::npos) {
        std::ostringstream message;
        message << "attribute key must not contain '=' or ';': '" << pair.first << "'";
        throw dez::Exception(message);
    }
    if (pair.second.find(';') != std::string::npos) {
        std::ostringstream message;
        message << "attribute value of '" << pair.first << "' must not contain ';': '"
                << pair.second << "'";
        throw dez::Exception(message);
    }
}

void write_attribute_pair(std::ostream& os, const std::pair<std::string, std::string>& pair) {
    os << pair.first << '=' << pair.second;
}

} // namespace

namespace std {

std::ostream& operator<<(std::ostream& os, const std::pair<std::string, std::string>& pair) {
    check_attribute_pair(pair);
    write_attribute_pair(os, pair);
    return os;
}

std::ostream& operator<<(std::ostream& os,
                         const std::vector<std::pair<std::string, std::string>>& list) {
    // Check everything first so a refused list leaves nothing half written.
    for (const auto& pair : list)
        check_attribute_pair(pair);
    for (size_t i = 0; i < list.size(); ++i) {
        if (i != 0)
            os << ';';
        write_attribute_pair(os, list[i]);
    }
    return os;
}

} // namespace std

namespace dez {

std::vector<std::pair<std::string, std::string>> string2attributes(const std::string& text) {
    std::vector<std::pair<std::string, std::string>> list;
    for (const auto& item : dez::string::split_vector(text, ';', false)) {
        const auto eq = item.find('=');
        if (eq == std::string::npos)
            continue;
        list.emplace_back(item.substr(0, eq), item.substr(eq + 1));
    }
    return list;
}

std::vector<std::pair<std::string, std::string>> string2attributes(const char* text, int length) {
    if (length == 0)
        return {};
    if (length < 0)
        throw std::length_error("attribute text length is negative");
    if (text == nullptr)
        throw std::logic_error("basic_string::_S_construct null not valid");
    return string2attributes(std::string(text, static_cast<size_t>(length)));
}

const std::string& get_attribute(const std::vector<std::pair<std::string, std::string>>& list,
                                 const std::string& key) {
    for (const auto& pair : list)
        if (pair.first == key)
            return pair.second;
    static const std::string empty;
    return empty;
}

} // namespace dez

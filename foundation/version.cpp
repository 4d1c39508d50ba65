#include "foundation/version.h"

#include "foundation/regex_factory.h"
#include "foundation/string_utils.h"

#include <cstdlib>
#include <stdexcept>

namespace dez::version {

const dez::Regex version_regex_pattern =
    dez::tlx_regex("(?:latest|dev|([0-9]+)(?:\\.([0-9]+)(?:\\.([0-9]+))?)?)");

bool is_valid_version_format(const std::string& text) {
    return version_regex_pattern.regex_match(text);
}

std::vector<unsigned int> parse_version_format(const std::string& text) {
    std::vector<unsigned int> components;
    dez::SMatch match;
    if (!version_regex_pattern.regex_match(text, match))
        return components;
    for (size_t group = 1; group <= 3; ++group) {
        // A group that took no part has the empty text and so reads as 0.
        const std::string digits = match[group].str;
        components.push_back(static_cast<unsigned int>(std::strtol(digits.c_str(), nullptr, 10)));
    }
    return components;
}

std::string extract_version(const std::string& name, const std::string& suffix) {
    const auto at = name.find('@');
    if (at == std::string::npos)
        return std::string();
    size_t end = name.size();
    if (dez::string::ends_with(name, suffix))
        end -= suffix.size();
    if (end <= at + 1)
        return std::string();
    return name.substr(at + 1, end - at - 1);
}

Version::Version(const std::string& text) : components(parse_version_format(text)) {}

bool Version::operator<(const Version& other) const {
    return components < other.components;
}

bool Version::operator>(const Version& other) const {
    // Not strict on purpose; see the declaration.
    return !(*this < other);
}

std::ostream& operator<<(std::ostream& os, const Version& version) {
    for (size_t i = 0; i < version.components.size(); ++i) {
        if (i != 0)
            os << '.';
        os << version.components[i];
    }
    return os;
}

} // namespace dez::version

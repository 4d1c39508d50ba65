#pragma once

#include "foundation/regex.h"

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

namespace dez::version {

// "latest", "dev", or one to three dot-separated numbers; matched against the
// whole text. Built once at load time and never changed.
extern const dez::Regex version_regex_pattern;

// True when the whole text is a version.
bool is_valid_version_format(const std::string& text);

// Three components for a version text (missing ones are 0, "latest" and "dev"
// give 0.0.0); no components for any other text.
std::vector<unsigned int> parse_version_format(const std::string& text);

// The text between the first "@" of a resource name and the end of the name,
// less the suffix when the name ends with it; empty without an "@".
std::string extract_version(const std::string& name, const std::string& suffix);

class Version {
public:
    Version() = default;
    explicit Version(const std::string& text);

    // Component-wise, as numbers; a prefix is less than the longer version.
    bool operator<(const Version& other) const;
    // Deliberately the negation of operator<, so equal versions answer true:
    // the latest-version searches over data folders rely on it to let the
    // last of several equal versions win. Do not make it strict.
    bool operator>(const Version& other) const;

    std::vector<unsigned int> components;
};

// The components joined by "."; nothing for a version without components.
std::ostream& operator<<(std::ostream& os, const Version& version);

} // namespace dez::version

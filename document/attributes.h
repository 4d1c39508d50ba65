#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <utility>
#include <vector>

#include <boost/any.hpp>

namespace dez::trelix {

// A format string of a rule or lexicon, resolved later through a plugin.
struct AttributeFormatValue {
    std::string format;
    std::string value; // empty until resolved
};

// Marks a format that could not be resolved.
struct AttributeFormatInvalidValue {};

// The text of a value: a string itself; a format value's resolved text, else
// its format; the empty string for anything else.
const std::string& to_string(const boost::any& value);
const std::string& raw_string(const boost::any& value);

// Key/value pairs. Entries added with `add` stand in ascending byte order of
// their keys and, among equal keys, in the order added; a key never holds the
// same value text twice. Other producers (the attribute parser) may append in
// their own order; `has_attribute`/`get_attribute` expect the key order.
class Attributes : public std::vector<std::pair<std::string, boost::any>> {
public:
    using std::vector<std::pair<std::string, boost::any>>::vector;

    // False when the key already holds a value with the same text.
    bool add(const std::pair<std::string, boost::any>& pair);
    bool add(const std::string& key, const std::string& value);
    // The number of entries added.
    uint32_t add(const Attributes& other);

    bool has_attribute(const std::string& key) const;
    // The text of the key's first value, or the empty string.
    const std::string& get_attribute(const std::string& key) const;

    void remove_attributes(const std::string& key);
    void remove_key(const std::string& key);
    // Removes the key's entries whose text equals `value`, or, for a value
    // written between slashes, whose whole text the expression matches. A bad
    // expression raises dez::Exception.
    void remove_attribute(const std::string& key, const std::string& value);
};

// Scans in stored order, so they also serve lists that are not key-ordered.
bool has(const Attributes& attributes, const std::string& key);
const std::string& get_value(const Attributes& attributes, const std::string& key);

// key=text; for every entry, no separator.
std::ostream& operator<<(std::ostream& os, const Attributes& attributes);

} // namespace dez::trelix

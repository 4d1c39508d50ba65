#include "document/attributes.h"

#include <algorithm>
#include <ostream>
#include <stdexcept>

#include "foundation/convert_range.h"
#include "foundation/exception.h"
#include "foundation/regex.h"
#include "foundation/regex_factory.h"

namespace dez::trelix {

namespace {

const std::string& empty_text() {
    static const std::string empty;
    return empty;
}

bool key_less(const std::pair<std::string, boost::any>& entry, const std::string& key) {
    return entry.first < key;
}

bool is_slashed_expression(const std::string& value) {
    return value.size() > 1 && value.front() == '/' && value.back() == '/';
}

// The cached expression of a value written between slashes, case-sensitive.
dez::Regex slashed_expression(const std::string& value) {
    try {
        return dez::RegexFactory::get_regex(
            dez::tlx::convert_range(value.substr(1, value.size() - 2)), false);
    } catch (const dez::Exception&) {
        throw;
    } catch (const std::exception& e) {
        std::ostringstream message;
        message << value << " is not a valid regular expression: \"" << e.what() << "\"";
        throw dez::Exception(message);
    }
}

} // namespace

const std::string& to_string(const boost::any& value) {
    if (const auto* text = boost::any_cast<std::string>(&value))
        return *text;
    if (const auto* format = boost::any_cast<AttributeFormatValue>(&value))
        return format->value.empty() ? format->format : format->value;
    return empty_text();
}

const std::string& raw_string(const boost::any& value) {
    return to_string(value);
}

bool Attributes::add(const std::pair<std::string, boost::any>& pair) {
    auto position = std::lower_bound(begin(), end(), pair.first, key_less);
    const std::string& text = raw_string(pair.second);
    for (; position != end() && position->first == pair.first; ++position)
        if (raw_string(position->second) == text)
            return false;
    insert(position, pair);
    return true;
}

bool Attributes::add(const std::string& key, const std::string& value) {
    return add(std::pair<std::string, boost::any>(key, value));
}

uint32_t Attributes::add(const Attributes& other) {
    if (&other == this)
        return 0; // every entry is there already
    uint32_t added = 0;
    for (const auto& entry : other)
        if (add(entry))
            ++added;
    return added;
}

bool Attributes::has_attribute(const std::string& key) const {
    auto position = std::lower_bound(begin(), end(), key, key_less);
    return position != end() && position->first == key;
}

const std::string& Attributes::get_attribute(const std::string& key) const {
    auto position = std::lower_bound(begin(), end(), key, key_less);
    if (position != end() && position->first == key)
        return to_string(position->second);
    return empty_text();
}

void Attributes::remove_attributes(const std::string& key) {
    erase(std::remove_if(begin(), end(), [&](const auto& entry) { return entry.first == key; }),
          end());
}

void Attributes::remove_key(const std::string& key) {
    remove_attributes(key);
}

void Attributes::remove_attribute(const std::string& key, const std::string& value) {
    if (is_slashed_expression(value)) {
        const dez::Regex expression = slashed_expression(value);
        erase(std::remove_if(begin(), end(),
                             [&](const auto& entry) {
                                 return entry.first == key &&
                                        expression.regex_match(raw_string(entry.second));
                             }),
              end());
        return;
    }
    erase(std::remove_if(begin(), end(),
                         [&](const auto& entry) {
                             return entry.first == key && raw_string(entry.second) == value;
                         }),
          end());
}

bool has(const Attributes& attributes, const std::string& key) {
    return std::any_of(attributes.begin(), attributes.end(),
                       [&](const auto& entry) { return entry.first == key; });
}

const std::string& get_value(const Attributes& attributes, const std::string& key) {
    for (const auto& entry : attributes)
        if (entry.first == key)
            return to_string(entry.second);
    return empty_text();
}

std::ostream& operator<<(std::ostream& os, const Attributes& attributes) {
    for (const auto& entry : attributes)
        os << entry.first << '=' << to_string(entry.second) << ';';
    return os;
}

} // namespace dez::trelix

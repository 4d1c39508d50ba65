#pragma once

#include <iosfwd>
#include <map>
#include <string>

#include <nlohmann/json_fwd.hpp>

namespace dez::compiler {

// Text to text, as stored in a compiled domain's records (source ids to
// source paths, for instance).
class StringStringMap : public std::map<std::string, std::string> {
public:
    using std::map<std::string, std::string>::map;

    // Compact JSON; an empty map is written as null.
    void ostream(std::ostream& out) const;
    // Replaces the content by the JSON value read from `in`. Text that is not
    // JSON raises the JSON library's parse error; JSON of another shape leaves
    // the content as it was and reports the fact on standard output.
    void istream(std::istream& in);
};

void to_json(nlohmann::json& j, const StringStringMap& map);
// null: empty; object: one entry per member; array: entries "0", "1", ...;
// any other value: one entry under the empty key. Values must be strings.
void from_json(const nlohmann::json& j, StringStringMap& map);

} // namespace dez::compiler

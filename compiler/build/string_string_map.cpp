#include "compiler/build/string_string_map.h"

#include <exception>
#include <iostream>

#include <nlohmann/json.hpp>

namespace dez::compiler {

void to_json(nlohmann::json& j, const StringStringMap& map) {
    if (map.empty()) {
        j = nullptr;
        return;
    }
    j = nlohmann::json::object();
    for (const auto& [key, value] : map)
        j[key] = value;
}

void from_json(const nlohmann::json& j, StringStringMap& map) {
    map.clear();
    if (j.is_null())
        return;
    if (j.is_object()) {
        for (auto it = j.begin(); it != j.end(); ++it)
            map.emplace(it.key(), it.value().get<std::string>());
        return;
    }
    if (j.is_array()) {
        std::size_t index = 0;
        for (const auto& element : j)
            map.emplace(std::to_string(index++), element.get<std::string>());
        return;
    }
    map.emplace(std::string(), j.get<std::string>());
}

void StringStringMap::ostream(std::ostream& out) const {
    nlohmann::json j;
    to_json(j, *this);
    out << j.dump();
}

void StringStringMap::istream(std::istream& in) {
    nlohmann::json j;
    in >> j; // reads one value; what follows it is left in the stream
    try {
        StringStringMap fresh;
        from_json(j, fresh);
        swap(fresh);
    } catch (const std::exception& e) {
        std::cout << "Invalid json stream StringStringMap" << e.what() << std::endl;
    }
}

} // namespace dez::compiler

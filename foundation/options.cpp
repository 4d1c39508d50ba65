#include "foundation/options.h"

#include <iostream>
#include <sstream>

#include <nlohmann/json.hpp>

namespace dez {

void IOptions::add(const std::string&, const std::string&) {}

Options::Options() : json(std::make_shared<nlohmann::json>()) {}

Options::Options(const char* text) : json(std::make_shared<nlohmann::json>()) {
    std::istringstream stream;
    if (text)
        stream.str(text);
    else
        stream.setstate(std::ios::failbit);
    stream >> *json;
}

std::string Options::get(const char* name) const { return get(name, std::string()); }

std::string Options::get(const char* name, std::string default_value) const {
    if (!json || !json->is_object())
        return default_value;
    auto it = json->find(name);
    if (it == json->end())
        return default_value;
    return it->get<std::string>();
}

bool Options::get_bool(const char* name, bool default_value) const {
    const std::string text = get(name, std::string());
    if (text.empty())
        return default_value;
    return text == "true" || text == "on" || text == "yes" || text == "1" || text == "True";
}

std::string Options::str() const { return json->dump(); }

bool Options::has(const char* name) const {
    return json && json->is_object() && json->contains(name);
}

const nlohmann::json* Options::get_json(const char* name) const {
    if (!json || !json->is_object())
        return nullptr;
    auto it = json->find(name);
    return it == json->end() ? nullptr : &*it;
}

void Options::add(const char* key, const char* value) { add(key, std::string(value)); }

void Options::add(const char* key, const std::string& value) {
    nlohmann::json string_value = value;
    if (json->is_object()) {
        auto it = json->find(key);
        if (it != json->end()) {
            *it = std::move(string_value);
            return;
        }
    }
    // A null value becomes an object; arrays and scalars raise the JSON type error.
    json->emplace(key, std::move(string_value));
}

void Options::add(const std::string& key, const std::string& value) { add(key.c_str(), value); }

Options* Options::clone() const {
    auto* copy = new Options();
    *copy->json = *json;
    return copy;
}

void foreach_option(const Options& options,
                    const std::function<void(std::string, std::string)>& fn) {
    const nlohmann::json& value = *options.json;
    for (auto it = value.begin(); it != value.end(); ++it) {
        if (!it->is_string())
            continue;
        fn(it.key(), it->get<std::string>());
    }
}

std::ostream& operator<<(std::ostream& os, const Options& options) { return os << *options.json; }

std::ostream& operator<<(std::ostream& os, const std::shared_ptr<IOptions>& options) {
    if (auto* bag = dynamic_cast<const Options*>(options.get()))
        return os << *bag;
    return os << (options ? options->str() : std::string("null"));
}

std::shared_ptr<IOptions> convert_string_to_api_options(const char* text) {
    auto options = std::make_shared<Options>();
    if (!text || !*text)
        return options;
    try {
        *options->json = nlohmann::json::parse(text);
    } catch (const std::exception&) {
        std::cout << "Invalid json stream:" << text << std::endl;
    }
    return options;
}

std::shared_ptr<IOptions> convert_string_to_api_options(const std::string& text) {
    return convert_string_to_api_options(text.c_str());
}

} // namespace dez

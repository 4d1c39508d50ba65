#include "analysis/descriptor_entry.h"

#include <nlohmann/json.hpp>

#include "core-afst/lookup_converter.h"
#include "foundation/exception.h"

namespace dez::trelix::core {

std::shared_ptr<dez::afst::ILookupConverter> get_convert(const nlohmann::json& entry) {
    std::string transform = "none";
    if (entry.is_object() && entry.contains("transform"))
        transform = entry.at("transform").get<std::string>();
    if (transform == "none")
        return nullptr;
    if (transform == "tolower")
        return dez::afst::get_lowercase_converter();
    throw dez::Exception("invalid config file format, unknown transformer type. supported types "
                         "are [tolower] and not:" +
                         transform);
}

namespace {

void append_property(std::string& suffix, const nlohmann::json& name) {
    if (!name.is_string())
        throw dez::Exception("invalid config file format, properties should be string:");
    const std::string& text = name.get_ref<const std::string&>();
    // One-character names are properties like longer ones: "x" must not
    // glue onto the analysis' last tag.
    if (text.empty())
        return;
    if (text.front() != '+')
        suffix += '+';
    suffix += text;
}

} // namespace

std::string get_additional_properties(const nlohmann::json& entry) {
    std::string suffix;
    if (!entry.is_object() || !entry.contains("properties"))
        return suffix;
    const nlohmann::json& value = entry.at("properties");
    if (value.is_array()) {
        for (const nlohmann::json& name : value)
            append_property(suffix, name);
    } else {
        append_property(suffix, value);
    }
    return suffix;
}

} // namespace dez::trelix::core

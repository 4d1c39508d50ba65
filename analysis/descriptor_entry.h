#pragma once

#include <memory>
#include <string>

#include <nlohmann/json_fwd.hpp>

namespace dez::afst {
class ILookupConverter;
}

namespace dez::trelix::core {

// The input converter of a chain entry's "transform": none for "none" or
// without the key, the lower-casing converter for "tolower"; any other text
// fails with dez::Exception.
std::shared_ptr<dez::afst::ILookupConverter> get_convert(const nlohmann::json& entry);

// The suffix a step appends to its analyses, from "properties" (a string or
// an array of strings): each name gets a leading '+' unless it has one
// ("x" gives "+x", ["+a","b"] gives "+a+b"); "" without the key. Another
// shape fails with dez::Exception.
std::string get_additional_properties(const nlohmann::json& entry);

} // namespace dez::trelix::core

#include "domain/convert_attributes.h"

namespace dez::trelix {

std::vector<std::pair<std::string, std::string>> convert_attributes(const Attributes& attributes) {
    std::vector<std::pair<std::string, std::string>> pairs;
    pairs.reserve(attributes.size());
    for (const auto& [key, value] : attributes)
        pairs.emplace_back(key, to_string(value));
    return pairs;
}

} // namespace dez::trelix

#include "core-afst/lookup_converter.h"

#include "foundation/case_mapping.h"

namespace dez::afst {

ILookupConverter::~ILookupConverter() = default;

std::string LookupConverterLowercase::operator()(const std::string& word) const {
    return dez::string::to_lower(word);
}

std::shared_ptr<ILookupConverter> get_lowercase_converter() {
    return std::make_shared<LookupConverterLowercase>();
}

std::string convert(const std::shared_ptr<ILookupConverter>& converter, const std::string& word) {
    return converter ? (*converter)(word) : word;
}

} // namespace dez::afst

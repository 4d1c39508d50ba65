#include "engine/language_module_data.h"

#include <nlohmann/json.hpp>

#include "analysis/morph_data_descriptor.h"

namespace dez::trelix {

LanguageModuleData::LanguageModuleData(const std::string& source_name) : source_name(source_name) {}

LanguageModuleData::~LanguageModuleData() {
    if (owns_rules_data)
        delete[] rules_data;
}

} // namespace dez::trelix

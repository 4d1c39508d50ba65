#include "engine/language_module_data.h"

#include <nlohmann/json.hpp>

#include "analysis/hmm_resource.h"
#include "analysis/morph_data_descriptor.h"

namespace dez::trelix {

LanguageModuleData::LanguageModuleData(const std::string& source_name)
    : source_name(source_name), hmm(std::make_shared<core::hmm::Resource>()) {}

LanguageModuleData::~LanguageModuleData() {
    release_rules();
}

void LanguageModuleData::release_rules() {
    if (owns_rules_data)
        delete[] rules_data;
    rules_data = nullptr;
    rules_size = 0;
    owns_rules_data = false;
    break_iterator.reset();
}

} // namespace dez::trelix

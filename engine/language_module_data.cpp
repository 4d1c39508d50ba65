#include "engine/language_module_data.h"

#include <nlohmann/json.hpp>
#include <unicode/brkiter.h>
#include <unicode/rbbi.h>

#include "analysis/hmm_resource.h"
#include "analysis/morph_data_descriptor.h"

namespace dez::trelix {

LanguageModuleData::LanguageModuleData(const std::string& source_name)
    : source_name(source_name), hmm(std::make_shared<core::hmm::Resource>()) {}

LanguageModuleData::~LanguageModuleData() {
    release_rules();
}

std::string LanguageModuleData::get_config_option(const std::string& name) const {
    if (!config || !config->is_object() || !config->contains(name))
        return std::string();
    return config->at(name).get<std::string>();
}

void LanguageModuleData::release_rules() {
    {
        std::lock_guard<std::mutex> lock(tokenizer_mutex);
        tokenizer_ready.store(nullptr, std::memory_order_release);
        tokenizer_prototype.reset();
    }
    if (owns_rules_data)
        delete[] rules_data;
    rules_data = nullptr;
    rules_size = 0;
    owns_rules_data = false;
    break_iterator.reset();
}

} // namespace dez::trelix

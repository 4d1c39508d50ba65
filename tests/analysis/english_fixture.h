#pragma once

#include <memory>
#include <string>

#include "engine/engine.h"
#include "engine/language_module.h"
#include "foundation/options.h"

namespace dez::trelix::fixture {

// The English module generated at build time, from one engine kept for the
// whole test program.
inline std::shared_ptr<LanguageModule> english_module() {
    static const auto engine = [] {
        const std::string data = TRELIX_ENGLISH_DATA;
        const std::string json = "{\"root_path\":\"" + data + "/..\",\"morfex\":\"" + data +
                                 "\",\"resource_manager_config\":\"{}\"}";
        return std::make_shared<Engine>(std::make_shared<dez::Options>(json.c_str()));
    }();
    return engine->get_language_module("english");
}

} // namespace dez::trelix::fixture

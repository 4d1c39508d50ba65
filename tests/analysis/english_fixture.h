#pragma once

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

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

// The held-out sentences of the hand-tagged sample (every fifth one), as
// (word, tag) pairs; empty when the sample cannot be read.
inline std::vector<std::vector<std::pair<std::string, std::string>>> held_out_sentences() {
    std::vector<std::vector<std::pair<std::string, std::string>>> sentences;
    std::ifstream sample(std::string(TRELIX_SOURCE_DATA) + "/english/tagged_sample.txt");
    std::size_t index = 0;
    for (std::string line; std::getline(sample, line);) {
        if (line.empty() || line[0] == '#' || index++ % 5 != 4)
            continue;
        auto& sentence = sentences.emplace_back();
        std::istringstream words(line);
        for (std::string token; words >> token;) {
            const auto cut = token.rfind('_');
            sentence.emplace_back(token.substr(0, cut), token.substr(cut + 1));
        }
    }
    return sentences;
}

} // namespace dez::trelix::fixture

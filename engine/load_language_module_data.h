#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace dez::trelix {

class Engine;
class LanguageModuleData;

// Reads one `.language` file (`config_path`, the language cache key) with its
// support files: tokenizer rules through their cache file, word lists, tagger
// tables, postagger, lookup chains, token map and conditions. Support files
// are looked for in the file's own folder first, then in `folders`.
// `language` names the language in log lines and messages. The caller holds
// the engine lock. Every failure is an exception and nothing is cached.
std::shared_ptr<LanguageModuleData>
load_language_module_data(const Engine* engine, const std::string& config_path,
                          const std::string& language,
                          const std::vector<std::filesystem::path>& folders);

} // namespace dez::trelix

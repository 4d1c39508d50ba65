#pragma once

#include <filesystem>
#include <string>

namespace dez::trelix {

class LanguageModuleData;

// Compiled tokenizer rules live beside their rules file in "<rules>_cache",
// exactly the bytes ICU serialises, because compiling the rules takes long.

// Fills the compiled rules of `data` from the cache when ICU accepts it and
// it is not older than the rules file; otherwise compiles the rules and
// rewrites the cache. `name` only appears in the build notice and errors.
// Fails with std::runtime_error "can not read tokenizer cache file.<cache>"
// when the cache exists but cannot be read, and as
// create_tokenizer_cache_file does.
void check_tokenizer_cache_file(const std::filesystem::path& rules_path, const std::string& name,
                                LanguageModuleData& data);

// Compiles the rules into `data` (announced on standard output) and writes
// the cache through a temporary file renamed into place, so that a reader
// never sees a partial one. Fails with dez::Exception "Missing tokenizer
// file: [<name>] <rules>" when the rules cannot be read, and "Loading regex
// parser :..." with the line and offset when they do not compile (an empty
// rules file included). A cache that cannot be written only costs a warning.
void create_tokenizer_cache_file(const std::filesystem::path& rules_path, const std::string& name,
                                 LanguageModuleData& data);

// Makes sure a usable cache of the rules file exists, without an engine.
// Fails as check_tokenizer_cache_file does, and with dez::Exception "Can not
// write cache file : <cache>" when the cache could not be written.
void create_tokenizer_cache_file(const std::string& rules_path);

} // namespace dez::trelix

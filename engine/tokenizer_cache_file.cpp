#include "engine/tokenizer_cache_file.h"

#include <unistd.h>

#include <atomic>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <system_error>

#include <unicode/parseerr.h>
#include <unicode/rbbi.h>
#include <unicode/unistr.h>

#include "engine/language_module_data.h"
#include "engine/write_time.h"
#include "foundation/exception.h"
#include "foundation/file.h"
#include "foundation/logger.h"

namespace dez::trelix {

namespace fs = std::filesystem;

namespace {

std::string cache_path_of(const fs::path& rules_path) {
    return rules_path.string() + "_cache";
}

// Rules edited after the cache was written make it stale. Compared at the
// file system's full precision, so an edit within the same second counts.
bool is_older_than(const std::string& cache, const fs::path& rules_path) {
    std::error_code error;
    const auto rules_time = fs::last_write_time(rules_path, error);
    if (error)
        return false; // a cache without its rules still serves
    const auto cache_time = fs::last_write_time(cache, error);
    return !error && cache_time < rules_time;
}

// The whole cache file; failures of any kind become one runtime error.
std::unique_ptr<uint8_t[]> read_cache(const std::string& cache, uint32_t& size) {
    try {
        std::ifstream file;
        file.exceptions(std::ios::badbit | std::ios::failbit | std::ios::eofbit);
        file.open(cache, std::ios::binary | std::ios::ate);
        const std::streamoff length = file.tellg();
        if (length < 0 || static_cast<uint64_t>(length) > UINT32_MAX)
            throw std::length_error("cache too large");
        file.seekg(0);
        auto bytes = std::make_unique<uint8_t[]>(static_cast<std::size_t>(length));
        file.read(reinterpret_cast<char*>(bytes.get()), length);
        size = static_cast<uint32_t>(length);
        return bytes;
    } catch (const std::exception&) {
        throw std::runtime_error("can not read tokenizer cache file." + cache);
    }
}

// A name no other writer (thread or process) uses, in the cache's folder so
// that the rename stays on one file system; short, so that a rules name near
// the length limit still gets its cache.
std::string temporary_name(const std::string& cache) {
    static std::atomic<unsigned> counter{0};
    const fs::path folder = fs::path(cache).parent_path();
    return (folder /
            (".tokenizer_cache." + std::to_string(::getpid()) + "." + std::to_string(++counter)))
        .string();
}

// False when the cache could not be written (the old one, if any, stays).
bool write_cache(const std::string& cache, const uint8_t* bytes, uint32_t size) {
    const std::string temporary = temporary_name(cache);
    try {
        {
            std::ofstream file;
            file.exceptions(std::ios::badbit | std::ios::failbit | std::ios::eofbit);
            file.open(temporary, std::ios::binary | std::ios::trunc);
            TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_info,
                       "[Tokenizer] "
                           << "Write cached : " << cache);
            file.write(reinterpret_cast<const char*>(bytes), size);
            file.close();
        }
        fs::rename(temporary, cache);
        return true;
    } catch (const std::exception&) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_warning,
                   "[Tokenizer] "
                       << "Can not write cache file : " << cache);
        return false;
    }
}

// Compiles the rules into `data`; answers whether the cache was written.
bool compile_rules(const fs::path& rules_path, const std::string& name, LanguageModuleData& data);

// Fills `data` from a usable cache or by compiling; answers whether a usable
// cache of the rules is on disk afterwards.
bool load_or_compile(const fs::path& rules_path, const std::string& name,
                     LanguageModuleData& data) {
    const std::string cache = cache_path_of(rules_path);
    if (!dez::file::exists(cache))
        return compile_rules(rules_path, name, data);
    TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_trace,
               "[Tokenizer] "
                   << "Check : " << std::quoted(rules_path.string()) << ":"
                   << write_time_in_seconds(rules_path.string()) << " <= " << cache << ":"
                   << write_time_in_seconds(cache));
    if (is_older_than(cache, rules_path))
        return compile_rules(rules_path, name, data);
    TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_trace,
               "[Tokenizer] "
                   << "Read cached : " << cache);
    uint32_t size = 0;
    std::unique_ptr<uint8_t[]> bytes = read_cache(cache, size);

    // ICU checks the header, version and length of the serialised rules, so a
    // truncated or foreign file is refused here rather than used.
    UErrorCode status = U_ZERO_ERROR;
    { icu::RuleBasedBreakIterator trial(bytes.get(), size, status); }
    if (U_FAILURE(status))
        return compile_rules(rules_path, name, data);
    data.release_rules();
    data.rules_data = bytes.release();
    data.rules_size = size;
    data.owns_rules_data = true;
    return true;
}

bool compile_rules(const fs::path& rules_path, const std::string& name, LanguageModuleData& data) {
    std::string text;
    try {
        text = dez::file::load(rules_path.string().c_str());
    } catch (const std::exception&) {
        throw dez::Exception("Missing tokenizer file: [" + name + "] " + rules_path.string());
    }
    const std::string cache = cache_path_of(rules_path);
    const icu::UnicodeString rules = icu::UnicodeString::fromUTF8(text);

    std::cout << "Optimizing the " << name << " tokenizer file, this will take a while ..."
              << std::endl;
    UParseError parse_error{};
    UErrorCode status = U_ZERO_ERROR;
    auto iterator = std::make_shared<icu::RuleBasedBreakIterator>(rules, parse_error, status);
    // ICU refuses an empty rule set too, so a language never ends up without
    // compiled rules and without an error.
    if (U_FAILURE(status)) {
        std::ostringstream message;
        message << "Loading regex parser :\n - file:" << rules_path.string()
                << "\n - line:" << parse_error.line << ":" << parse_error.offset;
        throw dez::Exception(message.str());
    }
    uint32_t size = 0;
    const uint8_t* bytes = iterator->getBinaryRules(size);
    data.release_rules();
    data.break_iterator = iterator;
    data.rules_data = bytes;
    data.rules_size = size;
    return write_cache(cache, bytes, size);
}

} // namespace

void check_tokenizer_cache_file(const fs::path& rules_path, const std::string& name,
                                LanguageModuleData& data) {
    load_or_compile(rules_path, name, data);
}

void create_tokenizer_cache_file(const fs::path& rules_path, const std::string& name,
                                 LanguageModuleData& data) {
    compile_rules(rules_path, name, data);
}

void create_tokenizer_cache_file(const std::string& rules_path) {
    const std::string name = fs::path(rules_path).filename().string();
    LanguageModuleData scratch(name);
    // Making the cache is this form's whole purpose: a cache that could not be
    // written is its failure, not a warning.
    if (!load_or_compile(rules_path, name, scratch))
        throw dez::Exception("Can not write cache file : " + cache_path_of(rules_path));
}

} // namespace dez::trelix

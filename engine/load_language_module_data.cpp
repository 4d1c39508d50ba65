#include "engine/load_language_module_data.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include <nlohmann/json.hpp>

#include "analysis/disambiguation.h"
#include "analysis/hmm_resource.h"
#include "analysis/make_conditions.h"
#include "analysis/morph_data_descriptor.h"
#include "analysis/token_map.h"
#include "domain/abbreviation_expression.h"
#include "domain/filename_generator.h"
#include "domain/versioned_filename.h"
#include "engine/language_module_data.h"
#include "engine/load_afst.h"
#include "engine/lookup_chain_descriptors.h"
#include "engine/tokenizer_cache_file.h"
#include "engine/write_time.h"
#include "foundation/exception.h"
#include "foundation/file.h"
#include "foundation/logger.h"

namespace dez::trelix {

namespace fs = std::filesystem;

namespace {

using dez::wlog::channel_runtime;

// Messages name the file and a position, never the file's text: the language
// name may be any path a host passes.
std::string parse_position(const std::string& text, std::size_t byte) {
    // The parser counts the offending byte from 1.
    const std::size_t index = std::min(byte > 0 ? byte - 1 : 0, text.size());
    const std::size_t line = 1 + std::count(text.begin(), text.begin() + index, '\n');
    const std::size_t previous = index == 0 ? std::string::npos : text.rfind('\n', index - 1);
    const std::size_t column = index - (previous == std::string::npos ? 0 : previous + 1) + 1;
    return "line:" + std::to_string(line) + ":" + std::to_string(column);
}

nlohmann::json parse_config(const std::string& path, const std::string& text) {
    try {
        nlohmann::json config = nlohmann::json::parse(text);
        if (config.is_object())
            return config;
        throw dez::Exception("Invalid json input file:" + path + "\n - not a JSON object");
    } catch (const nlohmann::json::parse_error& error) {
        throw dez::Exception("Invalid json input file:" + path + "\n - " +
                             parse_position(text, error.byte));
    }
}

std::string format_error(const std::string& path, const char* format) {
    return "Invalid config file format in the tokenizer_mapper :\n - file:" + path +
           "\n - Format : \"tokenizer_mapper\" : " + format;
}

// "tokenizer_mapper": [[status, tag, ...], ...] adds each tag under its
// status after the defaults.
void add_token_mapping(TokenMap& map, const nlohmann::json& config, const std::string& path) {
    static const char* element_format = "[ [int,string,...,string],[int,string,...,string] ]";
    static const char* item_format = "[ [int,string,...,string],[int,string...,string] ]";
    auto found = config.find("tokenizer_mapper");
    if (found == config.end() || found->is_null())
        return;
    if (!found->is_array() && !found->is_object())
        throw dez::Exception(format_error(path, element_format));
    for (const nlohmann::json& element : *found) {
        if (!element.is_array() || element.size() < 2 || !element[0].is_number_unsigned() ||
            element[0].get<uint64_t>() >
                static_cast<uint64_t>(std::numeric_limits<int32_t>::max()) ||
            !element[1].is_string())
            throw dez::Exception(format_error(path, element_format));
        const auto status = static_cast<int32_t>(element[0].get<uint64_t>());
        for (std::size_t i = 1; i < element.size(); ++i) {
            if (!element[i].is_string())
                throw dez::Exception(format_error(path, item_format));
            map.emplace(status, element[i].get<std::string>());
        }
    }
}

void load_postagger(LanguageModuleData& data, const fs::path& file, const nlohmann::json& config) {
    if (file.empty()) {
        // A configured postagger that is not found is as lost as an unreadable one.
        if (config.contains("postagger"))
            TRELIX_LOG(channel_runtime, dez::wlog::level_error,
                       "[Language] "
                           << "Cannot load/find pos disambiguator file "
                           << config.at("postagger").get<std::string>());
        return;
    }
    TRELIX_LOG(channel_runtime, dez::wlog::level_trace,
               "[Language] "
                   << "Postagger file: " << file.string());
    try {
        data.postagger = load_afst(file.string());
    } catch (const std::exception&) {
        TRELIX_LOG(channel_runtime, dez::wlog::level_error,
                   "[Language] "
                       << "Cannot load/find pos disambiguator file " << file.string());
        return;
    }
    // A postagger the disambiguation cannot walk would fail every document.
    try {
        disambiguation::check_postagger(*data.postagger);
    } catch (const std::exception& error) {
        data.postagger.reset();
        TRELIX_LOG(channel_runtime, dez::wlog::level_error,
                   "[Language] "
                       << "Cannot load/find pos disambiguator file " << file.string() << ": "
                       << error.what());
    }
}

} // namespace

std::shared_ptr<LanguageModuleData>
load_language_module_data(const Engine* engine, const std::string& config_path,
                          const std::string& language, const std::vector<fs::path>& folders) {
    TRELIX_LOG(channel_runtime, dez::wlog::level_debug,
               "[Language] "
                   << "Load: " << config_path);
    // Stamped before reading: a file rewritten meanwhile is read again later.
    const int64_t stamp = write_time_in_seconds(config_path);
    const std::string text = dez::file::load(config_path.c_str());

    auto data = std::make_shared<LanguageModuleData>(config_path);
    data->config = std::make_shared<nlohmann::json>(parse_config(config_path, text));
    nlohmann::json& config = *data->config;
    TRELIX_LOG(channel_runtime, dez::wlog::level_trace,
               "[Language] "
                   << "Name: " << language);

    if (auto detect = config.find("detect_headers"); detect != config.end()) {
        if (!detect->is_boolean())
            throw dez::Exception("Invalid type for the field 'detect_headers' for the language [" +
                                 language + "] in " + config_path);
        data->detect_headers = detect->get<bool>();
    }
    if (!config.contains("morph_chain"))
        TRELIX_LOG(channel_runtime, dez::wlog::level_warning,
                   "Missing morph_chain file in " << config_path);

    std::vector<fs::path> search = folders;
    search.insert(search.begin(), fs::path(config_path).parent_path());
    const core::filename_generator generate(search, config, language);

    const fs::path abbreviation_file = generate(".abbrev", "abbreviations");
    TRELIX_LOG(channel_runtime, dez::wlog::level_trace,
               "[Language] "
                   << "Abbreviation file: " << abbreviation_file.string());
    const fs::path apostrophe_file = generate(".apostrophe", "apostrophe");
    TRELIX_LOG(channel_runtime, dez::wlog::level_trace,
               "- apostrophe file: " << apostrophe_file.string());

    const fs::path hmm_file =
        config.contains("hmm")
            ? core::generate_filename(config.at("hmm").get<std::string>(), search)
            : generate(".hmm", "hmm");
    TRELIX_LOG(channel_runtime, dez::wlog::level_trace,
               "[Language] "
                   << "HMM file: " << hmm_file.string());
    if (dez::file::exists(hmm_file))
        data->hmm = std::make_shared<core::hmm::Resource>(core::hmm::load(hmm_file.string()));

    data->conditions = make_conditions(config);
    data->abbreviations = core::build_abbreviation_expression(abbreviation_file.string());
    data->apostrophes = core::build_abbreviation_expression(apostrophe_file.string());

    const fs::path measure_file = generate(".measure", "measure");
    TRELIX_LOG(channel_runtime, dez::wlog::level_trace,
               "[Language] "
                   << "Measure file: " << measure_file.string());
    data->measures = core::build_abbreviation_expression(measure_file.string());

    if (config.contains("tokenizer")) {
        const std::string rules_name = config.at("tokenizer").get<std::string>();
        fs::path rules_path = core::generate_filename(rules_name, search);
        // A cache shipped without its rules still serves.
        if (rules_path.empty()) {
            const std::string cache =
                core::generate_filename(rules_name + "_cache", search).string();
            if (!cache.empty())
                rules_path = cache.substr(0, cache.size() - 6);
        }
        TRELIX_LOG(channel_runtime, dez::wlog::level_trace,
                   "[Language] "
                       << "Tokenizer file: " << rules_path.string());
        // An empty path would look for "_cache" in the working folder.
        if (rules_path.empty())
            throw dez::Exception("Missing tokenizer file: [" + language + "] " + rules_name);
        check_tokenizer_cache_file(rules_path, language, *data);
    }

    data->morph_chain = create_lookup_chain_descriptors(engine, config, "morph_chain", search);
    data->not_found_chain = create_lookup_chain_descriptors(engine, config, "not_found", search);
    data->property_chains = create_named_lookup_descriptors(engine, config, search);

    load_postagger(*data, generate(".postagger", "postagger"), config);

    data->token_map = init_token_map();
    add_token_mapping(data->token_map, config, config_path);

    data->config_filename = config_path;
    data->last_write_time_stamp = stamp;
    TRELIX_LOG(channel_runtime, dez::wlog::level_debug,
               "[Language] "
                   << "ADDING : " << config_path << " wts=" << stamp);
    return data;
}

} // namespace dez::trelix

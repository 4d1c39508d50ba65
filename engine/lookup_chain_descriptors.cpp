#include "engine/lookup_chain_descriptors.h"

#include <nlohmann/json.hpp>

#include "analysis/morph_data.h"
#include "analysis/morph_data_descriptor.h"
#include "domain/versioned_filename.h"
#include "foundation/exception.h"
#include "foundation/file.h"
#include "foundation/logger.h"

namespace dez::trelix {

namespace fs = std::filesystem;

namespace {

// Rewrites entry[key] to the path of the file it names; `failure` + the name
// + "]" when that is no regular file.
void resolve_file(nlohmann::json& entry, const char* key, const char* trace, const char* failure,
                  const std::vector<fs::path>& folders) {
    if (!entry.contains(key))
        return;
    const std::string value = entry.at(key).get<std::string>();
    const fs::path found = core::generate_filename(value, folders);
    TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_trace, trace << found.string());
    if (!dez::file::is_regular_file(found))
        throw dez::Exception(failure + value + "]");
    entry[key] = found.string();
}

void append_descriptor(std::vector<core::MorphDataDescriptor>& chain, const Engine* engine,
                       nlohmann::json& entry, const std::vector<fs::path>& folders) {
    if (entry.is_string())
        throw dez::Exception("Deprecated Config use new format." + entry.get<std::string>() +
                             "ex: { \"file\": \"english.morph\" , \"lookup\" : \"plain\" , "
                             "\"transform\" : \"none\" }");
    if (!entry.is_object())
        throw dez::Exception("invalid config file format for ");
    resolve_file(entry, "file", "  -- morph_chain file: ", "Cannot find morph file:[", folders);
    resolve_file(entry, "guesser", "  -- morph_chain : guesser ",
                 "Cannot find guesser morph file:[", folders);
    chain.push_back(core::MorphData::create_descriptor(engine, entry));
}

std::vector<core::MorphDataDescriptor> descriptors_of(const Engine* engine, nlohmann::json& value,
                                                      const std::vector<fs::path>& folders) {
    std::vector<core::MorphDataDescriptor> chain;
    if (value.is_array() || value.is_object()) {
        for (nlohmann::json& entry : value)
            append_descriptor(chain, engine, entry, folders);
    } else if (!value.is_null()) {
        append_descriptor(chain, engine, value, folders);
    }
    return chain;
}

} // namespace

std::vector<core::MorphDataDescriptor>
create_lookup_chain_descriptors(const Engine* engine, nlohmann::json& config,
                                const std::string& key, const std::vector<fs::path>& folders) {
    if (!config.is_object() || !config.contains(key))
        return {};
    return descriptors_of(engine, config.at(key), folders);
}

std::map<std::string, std::vector<core::MorphDataDescriptor>>
create_named_lookup_descriptors(const Engine* engine, nlohmann::json& config,
                                const std::vector<fs::path>& folders) {
    std::map<std::string, std::vector<core::MorphDataDescriptor>> named;
    if (!config.is_object() || !config.contains("property_chain"))
        return named;
    nlohmann::json& chains = config.at("property_chain");
    if (chains.is_object()) {
        for (auto& [name, chain] : chains.items())
            if (!named.count(name))
                named.emplace(name, descriptors_of(engine, chain, folders));
    } else if (chains.is_array()) {
        // Named by their index: each element is a chain of its own.
        for (std::size_t index = 0; index < chains.size(); ++index)
            named.emplace(std::to_string(index), descriptors_of(engine, chains[index], folders));
    }
    return named;
}

} // namespace dez::trelix

// The engine operations that describe the engine and its data rather than
// analyse text: the language-identification lexicon, the engine description
// and the language listing.

#include <filesystem>
#include <system_error>

#include <nlohmann/json.hpp>

#include "core-afst/afst.h"
#include "domain/domain_facade.h"
#include "engine/domain_store.h"
#include "engine/engine.h"
#include "engine/language_listing.h"
#include "engine/language_module_data.h"
#include "engine/load_afst.h"
#include "foundation/exception.h"
#include "foundation/logger.h"

namespace dez::trelix {

namespace fs = std::filesystem;

namespace {

// The transducer of `candidate`, or null when it is missing or does not read
// as a sound transducer: such a file counts as not found.
std::shared_ptr<dez::afst::AFst> read_lid_candidate(const fs::path& candidate) {
    TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_debug,
               "get_language_identifier_data " << candidate.string());
    try {
        return load_afst(candidate.string());
    } catch (const std::exception&) {
        return nullptr;
    }
}

} // namespace

std::shared_ptr<dez::afst::AFst> Engine::get_language_identifier_data() const {
    std::lock_guard<std::mutex> lock(get_mutex());
    if (lid_data)
        return lid_data;
    if (auto found = read_lid_candidate(fs::path(root_path) / "morfex" / "lid.fst"))
        return lid_data = found;
    for (const std::string& folder : search_paths)
        if (auto found = read_lid_candidate(fs::path(folder) / "lid.fst"))
            return lid_data = found;
    TRELIX_LOG(
        dez::wlog::channel_runtime, dez::wlog::level_debug,
        "Could not load language identification data. [lid.fst] in [" << [this] {
            std::string folders;
            for (const std::string& folder : search_paths)
                folders += folder + ":";
            return folders;
        }() << "]");
    throw dez::Exception("Could not load language identification data. [lid.fst]");
}

std::string Engine::info() const {
    std::lock_guard<std::mutex> lock(get_mutex());
    nlohmann::json description = nlohmann::json::object();
    nlohmann::json& languages = description["languages"] = nlohmann::json::array();
    for (const auto& [key, module] : language_modules)
        languages.push_back({{"last_access", module->last_access.load()}, {"name", key}});
    nlohmann::json& domains = description["domains"] = nlohmann::json::array();
    for (const auto& [name, domain] : domain_store->domains)
        domains.push_back(
            {{"last_access", domain ? domain->last_access() : int64_t(-1)}, {"name", name}});
    description["options"] = nlohmann::json::parse(options->str());
    description["sdk_version"] = "3.1.1";
    description["type"] = "release";
    return description.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string Engine::languages() const {
    std::lock_guard<std::mutex> lock(get_mutex());
    nlohmann::json listing = nlohmann::json::object();
    for (const std::string& folder : search_paths) {
        // A "morfex" folder's "trelix" subfolder may be named without being
        // there: a search folder that does not exist has no languages to
        // list and must not make the whole listing fail.
        std::error_code error;
        if (!fs::is_directory(folder, error))
            continue;
        collect_language_files(folder, ".language", listing, false);
    }
    return listing.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

} // namespace dez::trelix

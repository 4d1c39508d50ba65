#include "domain/pipeline_expansion.h"

#include <iomanip>
#include <system_error>

#include <nlohmann/json.hpp>

#include "domain/component_splitter.h"
#include "domain/parse_components.h"
#include "domain/pipeline_error.h"
#include "foundation/exception.h"
#include "foundation/file.h"
#include "foundation/logger.h"
#include "foundation/string_utils.h"

namespace dez::pipeline {

namespace fs = std::filesystem;

namespace {

bool search_folders(const ComponentSplitter& splitter, Component& c) {
    for (const fs::path& folder : splitter.paths) {
        TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_trace,
                   "[PIPELINE]   -- "
                       << "PATH:" << std::quoted(folder.string()));
        if (splitter.add_identifier(c, folder))
            return true;
    }
    return false;
}

std::string failure_text(const std::string& name, const std::string& type,
                         const std::string& message) {
    nlohmann::json failure = nlohmann::json::object();
    failure["name"] = name;
    failure["exception_type"] = type;
    failure["exception_msg"] = message;
    // The message may carry a file name in any encoding; the error path must not throw.
    return failure.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

} // namespace

nlohmann::json expand2json(const std::string& pipeline, const std::vector<fs::path>& paths,
                           bool allow_file_access, bool allow_dev, const std::string& language) {
    nlohmann::json result = nlohmann::json::array();
    ComponentSplitter splitter{paths, allow_file_access, allow_dev, language};

    for (Component& c : parse_components(pipeline)) {
        if (c.original.empty())
            continue;
        TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_debug,
                   "[PIPELINE] "
                       << "COMPONENT:" << c.original);
        derive_fields(c);
        nlohmann::json entry = nlohmann::json::object();

        if (splitter.check_existing_paths(c, entry)) {
            result.push_back(std::move(entry));
            continue;
        }
        if (c.type == component_app) {
            component_to_json(c, entry);
            result.push_back(std::move(entry));
            continue;
        }

        bool found = search_folders(splitter, c);
        if (!found && c.version.empty()) {
            c.version = "latest";
            found = search_folders(splitter, c);
        }

        if (found) {
            component_to_json(c, entry);
            if (result.empty() && c.type == component_language)
                splitter.language = c.name;
        } else {
            const bool is_language = c.type == component_language;
            entry["original"] = c.original;
            entry["options"] = c.options;
            entry["type"] = is_language ? "language" : "domain";
            entry["exception_type"] = "not_found";
            entry["exception_msg"] =
                is_language ? "Language component not found." : "Domain component not found.";
        }
        result.push_back(std::move(entry));
    }
    return result;
}

nlohmann::json expand2json(const std::string& pipeline, const std::vector<std::string>& folders,
                           bool allow_file_access, bool allow_dev, const std::string& language) {
    return expand2json(pipeline, convert2paths(folders), allow_file_access, allow_dev, language);
}

std::vector<fs::path> convert2paths(const std::vector<std::string>& folders) {
    std::vector<fs::path> paths;
    std::string extra;
    bool has_product_folder = false;
    for (const std::string& folder : folders) {
        // Fails for a folder that does not exist.
        std::error_code ec;
        fs::path canonical = fs::canonical(folder, ec);
        if (ec)
            continue;
        paths.push_back(std::move(canonical));
        if (dez::string::ends_with(folder, "morfex"))
            extra = folder + "/trelix";
        else if (dez::string::ends_with(folder, "/trelix"))
            has_product_folder = true;
    }
    if (!has_product_folder && !extra.empty() && dez::file::exists(extra))
        paths.emplace_back(extra);
    return paths;
}

std::string expand(const std::string& pipeline, const std::vector<std::string>& folders,
                   bool allow_file_access, bool allow_dev, const std::string& language) {
    dez::wlog::set_environment_logger_once();
    TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_debug,
               "[PIPELINE] "
                   << "DESCRIPTION:" << pipeline);
    std::string failure;
    try {
        return expand2json(pipeline, folders, allow_file_access, allow_dev, language)
            .dump(-1, ' ', false, nlohmann::json::error_handler_t::ignore);
    } catch (const pipeline_error& e) {
        failure = failure_text(e.component.original, "pipeline_error", e.what());
    } catch (const std::exception& e) {
        failure = failure_text("unknown", "std", e.what());
    }
    throw dez::JSONThrowException(failure);
}

bool test_expanded_pipeline(const nlohmann::json& expanded) {
    if (expanded.is_null())
        return true;
    if (!expanded.is_array() && !expanded.is_object()) {
        (void)expanded.dump();
        return true;
    }
    for (const nlohmann::json& element : expanded)
        (void)element.dump();
    return true;
}

std::string find_domain_file(const std::string& name, const std::vector<std::string>& folders,
                             bool allow_dev) {
    const nlohmann::json expansion = expand2json(name, folders, true, allow_dev, std::string());
    TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_trace,
               "-- [PIPELINE][EXPANSION]:(" << name << ") -> " << expansion.dump());
    if (expansion.empty() || expansion.at(0).contains("exception_msg"))
        throw dez::Exception("Domain file not found. " + name);
    return expansion.at(0).at("filename").get<std::string>();
}

bool is_not_found(const nlohmann::json& entry) {
    if (!entry.is_object())
        return false;
    const auto it = entry.find("exception_type");
    return it != entry.end() && it->is_string() && it->get<std::string>() == "not_found";
}

} // namespace dez::pipeline

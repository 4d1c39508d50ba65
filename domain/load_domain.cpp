#include "domain/load_domain.h"

#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iterator>

#include <nlohmann/json.hpp>

#include "analysis/load_lexicons.h"
#include "core-afst/serialization.h"
#include "domain/domain_facade.h"
#include "domain/pipeline_expansion.h"
#include "foundation/exception.h"
#include "foundation/file.h"
#include "foundation/logger.h"

namespace dez::trelix {

namespace fs = std::filesystem;

namespace {

void add_dom_info_from_file(const std::string& info_filename, nlohmann::json& info) {
    // Read as a stream: the description may come from any readable file.
    std::ifstream in(info_filename, std::ios::binary);
    if (!in)
        throw dez::Exception("dom_info file not found." + info_filename);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    try {
        info["dom_info"] = nlohmann::json::parse(text);
    } catch (const nlohmann::json::parse_error& e) {
        throw dez::Exception("Invalid dom_info file." + info_filename +
                             ", invalid json:" + e.what() + "\n" + text);
    }
    info["dom"]["dom_info_filename"] = info_filename;
}

nlohmann::json get_domain_info(const std::string& name, const std::vector<std::string>& folders) {
    nlohmann::json info = {{"dom", nullptr}, {"dom_info", nullptr}};
    if (dez::file::is_directory(name)) {
        const std::string info_filename = (fs::path(name) / "domain.dom_info").string();
        info["dom"]["dom_info_filename"] = info_filename;
        info["dom"]["dom_filename"] = (fs::path(name) / "domain.dom").string();
        if (dez::file::exists(info_filename))
            add_dom_info_from_file(info_filename, info);
        return info;
    }
    const std::string filename =
        dez::file::exists(name) ? name : dez::pipeline::find_domain_file(name, folders, false);
    info["dom"]["dom_filename"] = filename;
    fs::path info_filename(filename);
    if (info_filename.extension() == ".dom") {
        info_filename.replace_extension(".dom_info");
        if (dez::file::is_regular_file(info_filename))
            add_dom_info_from_file(info_filename.string(), info);
    }
    return info;
}

} // namespace

bool load_domain(DomainFacade& facade, const std::vector<std::string>& folders,
                 const std::string& name) {
    TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_trace,
               "[domain]: load domain " << facade.get_sqlite_filename());
    if (name.empty())
        return true;
    facade.dom_info = std::make_shared<nlohmann::json>(get_domain_info(name, folders));
    const nlohmann::json& dom = (*facade.dom_info)["dom"];
    if (!dom.is_object() || !dom.contains("dom_filename"))
        throw dez::Exception("Cannot load domain (or dependency) " + name);
    facade.sqlite_filename = dom.at("dom_filename").get<std::string>();

    if (!dez::file::is_regular_file(facade.sqlite_filename)) {
        TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_trace,
                   "Domain file does not exists " << std::quoted(facade.sqlite_filename));
        return false;
    }
    facade.update_build_time();
    auto db = dez::afst::serialization::open_file(facade.sqlite_filename);
    if (!db)
        return false;
    load_lexicons(facade, db);
    load_lexicon_info(facade, db);
    return true;
}

} // namespace dez::trelix

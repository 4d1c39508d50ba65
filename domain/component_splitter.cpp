#include "domain/component_splitter.h"

#include <iomanip>
#include <system_error>
#include <utility>

#include <nlohmann/json.hpp>

#include "domain/pipeline_error.h"
#include "domain/regular_files_by_name.h"
#include "foundation/file.h"
#include "foundation/language_table.h"
#include "foundation/logger.h"
#include "foundation/regex.h"
#include "foundation/regex_factory.h"
#include "foundation/string_utils.h"
#include "foundation/version.h"

namespace dez::pipeline {

namespace fs = std::filesystem;

namespace {

// Every field between separators, empty ones included (one for an empty text).
std::vector<std::string> split_keep_empty(const std::string& text, const char* separator) {
    std::vector<std::string> fields;
    dez::string::split_vector(fields, text, separator, false);
    return fields;
}

std::string without_suffix(const std::string& text, const std::string& suffix) {
    if (!suffix.empty() && dez::string::ends_with(text, suffix))
        return text.substr(0, text.size() - suffix.size());
    return text;
}

// Names come from hosts and file systems: keep them literal in a pattern.
std::string escape_regex(const std::string& text) {
    static const std::string specials = ".^$|()[]{}*+?\\";
    std::string out;
    out.reserve(text.size() * 2);
    for (char c : text) {
        if (specials.find(c) != std::string::npos)
            out += '\\';
        out += c;
    }
    return out;
}

} // namespace

void derive_fields(Component& c) {
    const std::string& original = c.original;
    if (dez::string::ends_with(original, ".dom"))
        c.type = component_domain;
    else if (dez::string::ends_with(original, ".language"))
        c.type = component_language;
    else if (dez::string::ends_with(original, ".app"))
        c.type = component_app;
    else
        c.type = component_none;

    const std::string& extension = from_extension_string_to_component_type[c.type];
    if (c.type == component_none)
        c.extensions = {".language", ".dom"};
    else
        c.extensions = {extension};

    const std::vector<std::string> at_pieces = split_keep_empty(original, "@");
    if (at_pieces.size() == 1) {
        c.name = without_suffix(original, extension);
    } else {
        c.name = at_pieces[0];
        c.version = without_suffix(at_pieces[1], extension);
    }

    const std::vector<std::string> dash_pieces = split_keep_empty(c.name, "-");
    const std::string& head = dash_pieces[0];
    if (c.name.empty())
        return;

    if (c.type != component_app) {
        const size_t slash = head.rfind('/');
        if (slash == std::string::npos) {
            c.basename = c.name;
        } else {
            c.basename = c.name.substr(slash + 1);
            c.directory = c.name.substr(0, slash);
        }
    }

    // Only a name without extension is taken for a language: "english.dom"
    // is a domain file its author named so on purpose.
    if (c.type == component_none && dash_pieces.size() == 1 && !head.empty()) {
        const std::vector<std::string> slash_pieces = split_keep_empty(head, "/");
        const std::string& candidate = slash_pieces.size() >= 2 ? slash_pieces[1] : slash_pieces[0];
        if (dez::language::is_known_language(candidate)) {
            c.type = component_language;
            c.extensions = {".language"};
        }
    }
}

void collect_files_with_extension(const fs::path& folder, const std::string& extension,
                                  size_t& count) {
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        std::error_code ec;
        if (!entry.is_regular_file(ec))
            continue;
        if (extension.empty() || entry.path().extension().string() == extension)
            ++count;
    }
}

bool ComponentSplitter::check_existing_paths(const Component& c, nlohmann::json& entry) const {
    const fs::path path(c.original);
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    const bool exists = !ec && fs::exists(status);

    if (!allow_file_access) {
        if (exists)
            throw pipeline_error("Does not have permission for file access.", c);
        return false;
    }
    if (!exists)
        return false;

    TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_trace,
               "[PIPELINE] "
                   << "EXISTS:" << std::quoted(path.string()));

    if (fs::is_directory(status)) {
        size_t count = 0;
        collect_files_with_extension(path, ".tlx", count);
        if (count == 0) {
            TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_trace,
                       "[PIPELINE] "
                           << "Could not find tlx files in :" << std::quoted(path.string()));
            return false;
        }
        entry["type"] = "domain";
        entry["options"] = c.options;
        entry["filename"] = fs::canonical(path).string();
        return true;
    }
    if (!fs::is_regular_file(status))
        return false;

    entry["original"] = c.original;
    entry["options"] = c.options;
    switch (c.type) {
    case component_domain:
        entry["type"] = "domain";
        entry["filename"] = fs::canonical(path).string();
        break;
    case component_language:
        entry["type"] = "language";
        entry["filename"] = fs::canonical(path).string();
        break;
    case component_app:
        entry["type"] = "app";
        entry["exception_type"] = "not_supported";
        entry["exception_msg"] = "Applications can not be filename.";
        break;
    default:
        TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_trace,
                   "[PIPELINE] "
                       << "COMPONENT:" << c.original);
        throw pipeline_error(
            "Unkown Extensions, use one of the following [ .language, .dom, .app ]", c);
    }
    return true;
}

bool ComponentSplitter::add_identifier(Component& c, const fs::path& folder) const {
    // "@2" has no name: it would otherwise find hidden files such as ".dom".
    if (c.name.empty())
        return false;
    if (c.version == "latest")
        return find_latest(c, folder);
    return find_exact(c, folder);
}

bool ComponentSplitter::find_exact(Component& c, const fs::path& folder) const {
    struct Candidate {
        std::string text;
        bool prefixed;
    };
    const std::string versioned = c.version.empty() ? c.name : c.name + "@" + c.version;
    for (const std::string& e : c.extensions) {
        // Plain text, not a path join: the name may hold "/" itself.
        std::vector<Candidate> candidates;
        if (!language.empty())
            candidates.push_back({folder.string() + "/" + language + "-" + versioned + e, true});
        candidates.push_back({folder.string() + "/" + versioned + e, false});
        for (const Candidate& candidate : candidates) {
            const bool found = dez::file::exists(candidate.text);
            TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_trace,
                       "[PIPELINE]     -- "
                           << "check:" << candidate.text << ":" << (found ? "1" : "0"));
            if (!found)
                continue;
            // A language-prefixed hit is worth seeing at debug level.
            TRELIX_LOG(dez::wlog::channel_runtime,
                       candidate.prefixed ? dez::wlog::level_debug : dez::wlog::level_trace,
                       "[PIPELINE]   -- "
                           << "Found:" << candidate.text << ":1");
            c.filename = candidate.text;
            if (c.type == component_none)
                c.type = from_extension_to_component(e);
            return true;
        }
    }
    return false;
}

bool ComponentSplitter::find_latest(Component& c, const fs::path& given_folder) const {
    const fs::path folder = c.directory.empty() ? given_folder : given_folder / c.directory;
    if (!dez::file::is_directory(folder))
        return false;

    // Matched against the file name alone, so the folder's own text can
    // neither break the expression nor match by accident. The same patterns
    // serve every folder of a search: compiled once, through the cache.
    std::vector<dez::Regex> patterns;
    for (const std::string& e : c.extensions) {
        std::string pattern;
        if (!language.empty())
            pattern += "(?:" + escape_regex(language) + "-)?";
        pattern += escape_regex(c.basename) + "(?:@(.*))?" + escape_regex(e);
        TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_trace,
                   "[PIPELINE]     -- "
                       << "Pattern:" << pattern);
        patterns.push_back(dez::tlx_regex(pattern));
    }

    // Sorted, so ties between equal versions and version-less files do not
    // depend on the file system's listing order.
    std::error_code ec;
    const std::vector<std::string> names = dez::trelix::core::regular_files_by_name(folder, ec);
    if (ec) {
        TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_debug,
                   "[PIPELINE]   -- "
                       << "Cannot list folder:" << std::quoted(folder.string()) << ": "
                       << ec.message());
        return false;
    }

    dez::version::Version best("0.0.0");
    std::string version;
    std::string filename;
    for (const std::string& name : names) {
        const fs::path path = folder / name;
        const std::string extension = path.extension().string();
        if (extension != ".dom" && extension != ".language")
            continue;
        dez::SMatch match;
        bool matched = false;
        for (const dez::Regex& pattern : patterns) {
            match.clear();
            if (pattern.regex_match(name, match)) {
                matched = true;
                break;
            }
        }
        if (!matched)
            continue;
        TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_trace,
                   "[PIPELINE]       -- "
                       << "  CANDIDATE:" << path.string());
        const std::string v = match.size() == 2 ? match[1].str : std::string();
        if (v.empty()) {
            version.clear();
            filename = path.string();
        } else if (v == "dev") {
            if (!allow_dev)
                continue;
            version = v;
            filename = path.string();
            break;
        } else {
            dez::version::Version parsed(v);
            if (!(parsed < best)) {
                best = std::move(parsed);
                version = v;
                filename = path.string();
            }
        }
    }
    if (filename.empty())
        return false;

    TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_debug,
               "[PIPELINE]   -- "
                   << "Found " << filename);
    c.version = version;
    c.filename = filename;
    if (c.type == component_none)
        c.type = from_extension_to_component(fs::path(filename).extension().string());
    return true;
}

} // namespace dez::pipeline

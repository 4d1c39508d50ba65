#include "api/profiler.h"

#include <algorithm>
#include <chrono>
#include <stdexcept>

#include <nlohmann/json.hpp>

#include "document/annotation_text.h"
#include "document/attributes.h"
#include "document/concept.h"
#include "document/rule_file_names.h"
#include "domain/domain_interface.h"
#include "foundation/regex.h"

namespace dez::trelix::profiler {

namespace {

const dez::Regex rule_id_form("rule_.*?\\$MCF:(.*?)__l(.*?)_(.*)", false);
const dez::Regex rule_reference_form("(.*):(.*)", false);

const char* const rules_description =
    "timing/counts of the different rules,lexicons,api calls,anaphora and conjecture.";
const char* const matches_description = "results of rules that matches the same data.";

// Durations only: a monotonic clock cannot jump with the wall clock.
int64_t now() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// A rule id or rule reference taken apart, its line not yet read.
struct SplitName {
    std::string file;
    bool has_line = false; // false: no line given, line 0
    std::string line;
    std::string remainder;
};

SplitName split_rule_id(const std::string& id,
                        const std::map<std::string, std::string>& file_names) {
    dez::SMatch match;
    if (!rule_id_form.regex_search(id, match))
        return {id, false, std::string(), std::string()};
    const auto known = file_names.find(match[1].str);
    return {known == file_names.end() ? match[1].str : known->second, true, match[2].str,
            match[3].str};
}

SplitName split_reference(const std::string& reference,
                          const std::map<std::string, std::string>& file_names) {
    dez::SMatch match;
    if (!rule_reference_form.regex_search(reference, match))
        return {reference, false, std::string(), std::string()};
    const auto known = file_names.find(match[1].str);
    if (known == file_names.end())
        return {reference, false, std::string(), std::string()};
    return {known->second, true, match[2].str, std::string()};
}

ParseRuleIDType strict(SplitName&& name) {
    ParseRuleIDType result;
    result.file = std::move(name.file);
    result.line = name.has_line ? std::stol(name.line) : 0;
    result.remainder = std::move(name.remainder);
    return result;
}

// The report lists a line that is not a number (or not a line: lines
// count from 1) as line 0 rather than losing the whole report over one entry.
uint64_t report_line(const SplitName& name) {
    if (!name.has_line)
        return 0;
    try {
        const long line = std::stol(name.line);
        return line < 0 ? 0 : static_cast<uint64_t>(line);
    } catch (const std::invalid_argument&) {
        return 0;
    } catch (const std::out_of_range&) {
        return 0;
    }
}

} // namespace

void Profiler::init(const DomainInterface* domain, const std::vector<std::string>& rule_ids) {
    if (domain && !domain->get_sqlite_filename().empty()) {
        const std::string& store = domain->get_sqlite_filename();
        // Once per domain and document. A missing store counts as read; one
        // that fails to open is tried again by the next collection.
        if (!companion_stores.count(store)) {
            for (const auto& [key, file] : rule_file_names(store))
                file_names.emplace(key, file);
            companion_stores.insert(store);
        }
    }
    for (const std::string& id : rule_ids)
        infos.try_emplace(id, id);
}

void Profiler::start(const std::string& name) {
    Info& info = infos.try_emplace(name, name).first->second;
    ++info.count;
    info.start_time = now();
}

void Profiler::stop(const std::string& name) {
    const auto entry = infos.find(name);
    if (entry == infos.end())
        return;
    entry->second.total_time += static_cast<double>(now() - entry->second.start_time);
}

void Profiler::hit(const std::string& rule_id, const Concept* concept) {
    if (!concept || (!concept->uri.empty() && concept->uri.front() == '$'))
        return;
    Info& info = infos.try_emplace(rule_id, rule_id).first->second;
    ++info.hits[concept->uri].count;
    const std::string text =
        get_annotation_string(const_cast<Concept*>(concept), concept_range_end(concept));
    std::set<HitRuleInfo>& rules = concept_matches[concept->uri].matches[text];
    for (const auto& [key, value] : concept->attributes.attributes)
        if (key == "_rule")
            rules.insert(HitRuleInfo{to_string(value)});
}

void Profiler::clear() {
    infos.clear();
}

ParseRuleIDType Profiler::parse_rule_id(const std::string& id) const {
    return strict(split_rule_id(id, file_names));
}

ParseRuleIDType Profiler::resolve_filename(const std::string& reference) const {
    return strict(split_reference(reference, file_names));
}

const std::string& Profiler::report() const {
    std::string text;
    try {
        std::vector<const Info*> entries;
        entries.reserve(infos.size());
        for (const auto& entry : infos)
            entries.push_back(&entry.second);
        std::stable_sort(entries.begin(), entries.end(), [](const Info* a, const Info* b) {
            return a->total_time < b->total_time;
        });

        nlohmann::json document;
        nlohmann::json& rules = document["profile"]["rules"];
        rules["files"] = nlohmann::json::object();
        rules["description"] = rules_description;
        for (const Info* entry : entries) {
            const SplitName name = split_rule_id(entry->name, file_names);
            nlohmann::json& file = rules["files"][name.file];
            if (!file.contains("locations"))
                file["locations"] = nlohmann::json::array();
            nlohmann::json location;
            location["line"] = report_line(name);
            location["triggered"] = entry->count;
            location["nanosec"] = entry->total_time;
            location["hits"] = nlohmann::json::object();
            for (const auto& [uri, hit] : entry->hits)
                location["hits"][uri]["cnt"] = hit.count;
            file["locations"].push_back(std::move(location));
        }

        nlohmann::json& matches = document["profile"]["matches"];
        matches["concept"] = nlohmann::json::object();
        matches["description"] = matches_description;
        for (const auto& [uri, hit] : concept_matches) {
            for (const auto& [matched, references] : hit.matches) {
                if (references.size() < 2)
                    continue;
                nlohmann::json& list = matches["concept"][uri][matched]["rules"];
                list = nlohmann::json::array();
                for (const HitRuleInfo& reference : references) {
                    const SplitName name = split_reference(reference.rule, file_names);
                    list.push_back({{"file", name.file}, {"line", report_line(name)}});
                }
            }
        }
        text = document.dump();
    } catch (const std::exception& e) {
        throw std::runtime_error(std::string("Exception: profiler: report ") + e.what());
    }
    report_text.swap(text);
    return report_text;
}

} // namespace dez::trelix::profiler

#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "document/profiler_interface.h"

namespace dez::trelix {

class Concept;
class DomainInterface;

namespace profiler {

// A rule reference as a concept's attribute "_rule" gives it.
struct HitRuleInfo {
    std::string rule;
    bool operator<(const HitRuleInfo& other) const { return rule < other.rule; }
};

struct Hit {
    uint64_t count = 0;
    // Matched text to the rules that produced the concept over it.
    std::map<std::string, std::set<HitRuleInfo>> matches;
};

struct Info {
    explicit Info(const std::string& name) : name(name) {}

    std::string name;
    // Monotonic clock, nanoseconds.
    int64_t start_time = 0;
    double total_time = 0;
    int32_t count = 0;
    // Concept uri to the concepts this rule produced.
    std::map<std::string, Hit> hits;
};

struct ParseRuleIDType {
    std::string file;
    int64_t line = 0;
    std::string remainder;
};

// The per-document profiler: timings and counts per rule id or other timed
// name, and the rules that produced the same concept over the same text.
// One document, one thread: nothing is locked.
class Profiler : public ProfilerInterface {
public:
    // Merges the file names of the domain's companion store (".dom_inc"
    // beside its compiled file) once per domain; a domain without one adds
    // none. The store is only read, never created.
    void init(const DomainInterface* domain, const std::vector<std::string>& rule_ids) override;
    void start(const std::string& name) override;
    // Nothing for a name never started.
    void stop(const std::string& name) override;
    // Concepts whose uri begins with "$" are not recorded.
    void hit(const std::string& rule_id, const Concept* concept) override;
    // Fails with "Exception: profiler: report " and the cause; the previous
    // text stays then.
    const std::string& report() const override;
    void clear() override;

    // File (mapped through file_names), line and rest of a rule id of the
    // form "rule_...$MCF:<file key>__l<line>_<rest>"; any other name is its
    // own file with line 0. A line that is not a number raises
    // std::invalid_argument or std::out_of_range ("stol").
    ParseRuleIDType parse_rule_id(const std::string& id) const;
    // A "<file key>:<line>" reference split at its last ':'; an unknown key
    // gives the whole reference as file and line 0. A bad line of a
    // known key raises as parse_rule_id does.
    ParseRuleIDType resolve_filename(const std::string& reference) const;

    std::map<std::string, Info> infos;
    std::map<std::string, Hit> concept_matches;
    std::map<std::string, std::string> file_names;
    mutable std::string report_text;

private:
    // Companion stores already merged (or found missing), by path.
    std::set<std::string> companion_stores;
};

} // namespace profiler
} // namespace dez::trelix

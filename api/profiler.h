#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>

namespace dez::trelix {

class Concept;

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
    int64_t start_time = 0;
    double total_time = 0;
    int32_t count = 0;
    // Concept uri to the concepts this rule produced.
    std::map<std::string, Hit> hits;
};

// So far only what concept insertion calls; the profiler work adds init,
// start, stop, report and clear (in that order around `hit`).
class ProfilerInterface {
public:
    // Records that the rule produced the concept.
    virtual void hit(const std::string& rule_id, const Concept* concept) = 0;
    virtual ~ProfilerInterface() = default;
};

class Profiler : public ProfilerInterface {
public:
    // Concepts whose uri begins with "$" are not recorded.
    void hit(const std::string& rule_id, const Concept* concept) override;

    std::map<std::string, Info> infos;
    std::map<std::string, Hit> concept_matches;
    std::map<std::string, std::string> file_names;
    std::string report_text;
};

} // namespace profiler
} // namespace dez::trelix

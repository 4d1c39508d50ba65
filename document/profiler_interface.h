#pragma once

#include <string>
#include <vector>

namespace dez::trelix {

class Concept;
class DomainInterface;

namespace profiler {

// What the analysis passes report to a document's profiler. It sits here,
// below them, so that the lexicon pass, rule matching and concept insertion
// reach the profiler (api/profiler.h) without depending on it.
class ProfilerInterface {
public:
    // Before a rule collection runs on the document: learns the domain's
    // source file names and lists every rule id of the collection. The rule
    // matching work hands in the ids of its collection.
    virtual void init(const DomainInterface* domain, const std::vector<std::string>& rule_ids) = 0;
    // Times `name` from start to stop; start counts a run.
    virtual void start(const std::string& name) = 0;
    virtual void stop(const std::string& name) = 0;
    // Records that the rule produced the concept.
    virtual void hit(const std::string& rule_id, const Concept* concept) = 0;
    // The JSON report; valid until the next call or the profiler's end.
    virtual const std::string& report() const = 0;
    // Drops the timing entries.
    virtual void clear() = 0;
    virtual ~ProfilerInterface() = default;
};

} // namespace profiler
} // namespace dez::trelix

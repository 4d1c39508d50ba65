#include "api/profiler.h"

#include "document/annotation_text.h"
#include "document/concept.h"

namespace dez::trelix::profiler {

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

} // namespace dez::trelix::profiler

#include "document/concept_conditions.h"

#include <algorithm>
#include <exception>
#include <vector>

#include "document/annotation_text.h"
#include "document/blackboard.h"
#include "document/end_annotation.h"
#include "document/literal_filter.h"
#include "document/regex_filter.h"
#include "foundation/logger.h"
#include "foundation/regex_factory.h"
#include "foundation/string_utils.h"
#include "matcher/memento_store.h"

namespace dez::trelix {

const dez::Regex inherit_regex_pattern =
    dez::tlx_regex(R"(([A-Za-z_0-9]+)\[([1-9])\](?:\.([A-Za-z_0-9]+))?)");

namespace {

bool is_private(const std::string& key) {
    return !key.empty() && key[0] == '_';
}

std::vector<std::string> own_values(const Concept* concept_, const std::string& key) {
    std::vector<std::string> values;
    for (const auto& entry : concept_->attributes.attributes)
        if (entry.first == key)
            values.push_back(to_string(entry.second));
    return values;
}

// Own pairs, then shared ones.
template <typename Visit> void for_each_pair(const Concept* concept_, Visit visit) {
    for (const auto& entry : concept_->attributes.attributes)
        visit(entry);
    if (concept_->attributes.shared)
        for (const auto& entry : *concept_->attributes.shared)
            visit(entry);
}

bool condition_holds(const MementoStore& store, const std::string& condition, uint32_t offset) {
    const std::vector<std::string> parts = dez::string::split_vector(condition, '=', false);
    // Without "key=value" there is nothing to test: the condition fails.
    if (parts.size() < 2)
        return false;
    return store.has(parts[0], parts[1], offset);
}

bool pos_value_matches(const Concept* concept_, std::string value, const std::string& sequence) {
    value.erase(std::remove(value.begin(), value.end(), ' '), value.end());
    if (value.size() < 2 || value.front() != '/' || value.back() != '/')
        return LiteralFilter(value)(sequence);
    try {
        return RegexFilter(value)(sequence);
    } catch (const std::exception& e) {
        // A rule's bad expression must not cost the document; the concept
        // keeps its place and the rule writer learns of it from the log.
        TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_error,
                   "Invalid pos expression " << value << " on concept " << concept_->uri << ": "
                                             << e.what());
        return true;
    }
}

} // namespace

Concept* align_begin_concept(Concept* concept_) {
    Concept* first = concept_;
    for (Annotation* a = concept_ ? concept_->prev : nullptr;
         a && a->type == annotation_concept && a->begin == concept_->begin &&
         a->end == concept_->end;
         a = a->prev)
        first = static_cast<Concept*>(a);
    return first;
}

void apply_conditions(Blackboard& blackboard, Concept* concept_) {
    for (const std::string& condition : own_values(concept_, "_condition")) {
        if (!blackboard.memento_store ||
            !condition_holds(*blackboard.memento_store, condition, concept_->begin)) {
            concept_->flags.set(Concept::deleted);
            return;
        }
    }
}

bool apply_pos_filter(AnnotationCollection& /*list*/, Concept* concept_) {
    if (!concept_->has_attribute("pos"))
        return true;
    const std::string sequence = get_pos_sequence(concept_);
    bool passed = false;
    for (const std::string& value : own_values(concept_, "pos"))
        if (pos_value_matches(concept_, value, sequence)) {
            passed = true;
            break;
        }
    concept_->remove_attributes("pos");
    if (!passed)
        concept_->flags.set(Concept::deleted);
    return passed;
}

Attributes collect_inheritance_attribute(AnnotationCollection& /*list*/, Concept* concept_) {
    Attributes result;
    // Without an end marker there is no span to look into.
    if (!concept_->end_annotation)
        return result;
    for (Annotation* a = concept_->end_annotation->prev; a && a != concept_; a = a->prev) {
        if (a->type != annotation_concept)
            continue;
        const auto* nested = static_cast<const Concept*>(a);
        if (nested->uri != concept_->uri || nested->flags.test(Concept::deleted))
            continue;
        for_each_pair(nested, [&](const std::pair<std::string, boost::any>& entry) {
            if (!is_private(entry.first) && !has(result, entry.first))
                result.add(entry);
        });
    }
    return result;
}

Attributes collect_inheritance_attribute(AnnotationCollection& /*list*/, Concept* concept_,
                                         const std::string& reference) {
    Attributes result;
    dez::SMatch match;
    if (!inherit_regex_pattern.regex_match(reference, match)) {
        TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_debug,
                   "Could not parse inherit attribute, check your rules");
        return result;
    }
    if (!concept_->end_annotation)
        return result;
    const std::string& name = match[1].str;
    const int wanted = match[2].str[0] - '0';
    const std::string attribute = match.size() > 3 ? match[3].str : std::string();

    int seen = 0;
    for (Annotation* a = align_begin_concept(concept_); a && a != concept_->end_annotation;
         a = a->next) {
        if (a->type != annotation_concept || a == concept_)
            continue;
        const auto* nested = static_cast<const Concept*>(a);
        if (nested->uri != name || nested->flags.test(Concept::deleted) || ++seen < wanted)
            continue;
        for_each_pair(nested, [&](const std::pair<std::string, boost::any>& entry) {
            if (!is_private(entry.first) && (attribute.empty() || entry.first == attribute))
                result.add(entry);
        });
        break;
    }
    return result;
}

void apply_inheritance(AnnotationCollection& list, Concept* concept_) {
    if (concept_->uri == "tlx::anaphora")
        return;
    std::vector<Attributes> collected;
    for (const std::string& value : own_values(concept_, "inherit"))
        collected.push_back(value == "true" ? collect_inheritance_attribute(list, concept_)
                                            : collect_inheritance_attribute(list, concept_, value));
    concept_->remove_attributes("inherit");
    for (const Attributes& attributes : collected)
        concept_->add(attributes, store_by_key);
}

} // namespace dez::trelix

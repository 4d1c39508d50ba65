#include "document/add_concept_to_collection.h"

#include <iostream>
#include <map>
#include <memory>

#include "analysis/token_helpers.h"
#include "document/annotation_text.h"
#include "document/attribute_resolution.h"
#include "document/blackboard.h"
#include "document/concept.h"
#include "document/concept_conditions.h"
#include "document/concept_insertion.h"
#include "domain/concept_definition.h"
#include "domain/domain_facade.h"
#include "foundation/home_path.h"
#include "matcher/action_registry.h"
#include "matcher/attribute_parser.h"
#include "matcher/runtime_context.h"

namespace dez::trelix {

namespace {

void add_attributes(Concept* concept_, const Attributes& attributes) {
    for (const auto& pair : attributes)
        concept_->add(pair, store_for(pair.first));
}

void trace_decision(InsertionAction action, const Annotation* position, const std::string& uri) {
    switch (action) {
    case insertion_update:
        if (position && position->type == annotation_concept) {
            const auto* existing = static_cast<const Concept*>(position);
            if (existing->flags.test(Concept::filtered))
                std::cout << " ! has been filtered (sorry):" << uri << '@' << existing->attributes
                          << '\n';
            else
                std::cout << (existing->flags.test(Concept::deleted) ? 'x' : ' ') << " - update:"
                          << uri << '@' << print_verbose(existing->attributes) << '\n';
        } else {
            std::cout << " - update:" << uri << '\n';
        }
        break;
    case insertion_ignore:
        std::cout << " - ignore:" << uri << '\n';
        break;
    case insertion_add:
        std::cout << " - add new:" << uri << '\n';
        break;
    }
}

} // namespace

AddConceptToCollection::AddConceptToCollection(Blackboard& blackboard)
    : blackboard(blackboard), trace_insertion(blackboard.dbg_options["insertion"]),
      rule_info(blackboard.blackboard_options.rule_info),
      overlap(blackboard.dbg_options["overlap"]) {}

Concept* AddConceptToCollection::operator()(RawPtrIterator begin, RawPtrIterator end,
                                            const std::string& uri,
                                            const std::string& attributes, Concept* parent,
                                            const std::string& rule_id) {
    Attributes parsed = parse_attributes(attributes);
    std::string name = uri;
    if (name.find('+') != std::string::npos)
        split_canonical_uri(name, parsed);
    else if (name == "tlx::filter")
        name = filter_uri(parsed);
    return (*this)(begin, end, name, std::move(parsed), parent, rule_id);
}

Concept* AddConceptToCollection::operator()(const Annotation* begin, const Annotation* end,
                                            const std::string& uri,
                                            const std::string& attributes, Concept* parent,
                                            const std::string& rule_id) {
    return (*this)(RawPtrIterator(const_cast<Annotation*>(begin)),
                   RawPtrIterator(const_cast<Annotation*>(end)), uri, attributes, parent,
                   rule_id);
}

Concept* AddConceptToCollection::operator()(RawPtrIterator begin, RawPtrIterator end,
                                            const std::string& uri, Attributes attributes,
                                            Concept* parent, const std::string& /*rule_id*/) {
    const RawPtrIterator aligned = align_begin(begin);
    // A stretch of nothing but end markers has no place to stand.
    if (!aligned)
        return nullptr;
    const uint32_t first = aligned->begin;
    SentenceInfo* info = get_sentence(blackboard, first);
    if (!info || !info->annotations)
        return nullptr;
    AnnotationCollection& list = *info->annotations;

    uint32_t last = 0;
    if (const Token* token = find_previous_token(end, 1))
        last = token->end;
    else if (const Token* token = find_next_token(RawPtrIterator(list.head), 1))
        last = token->end;
    else
        last = info->sentence ? info->sentence->end : first;

    if (trace_insertion) {
        std::cout << "add concept:" << uri << ':' << first << ':' << last;
        if (!attributes.empty())
            std::cout << '@' << attributes;
        std::cout << " [" << get_annotation_string(aligned, end) << ']' << std::endl;
    }

    // A missing domain counts as one without concept ids, definitions or
    // "no_crlf" concepts.
    const std::shared_ptr<DomainFacade> current_domain = blackboard.current_domain;
    const DomainFacade* domain = current_domain.get();
    if (rule_info && domain)
        attributes.add("_domain", std::filesystem::chop_filename(domain->name(), 3));

    const bool shortest = get_value(attributes, "match") == "shortest";
    if (Concept* bigger = has_bigger_concepts(aligned, first, last, uri)) {
        if (bigger->end < last) {
            if (!overlap)
                return nullptr;
            std::cout << "! we have a overlapping issue. for " << first << ':' << last << ':' << uri
                      << '\n';
        } else if (shortest) {
            bigger->flags.set(Concept::deleted);
        } else {
            return nullptr;
        }
    }

    const auto [action, position] =
        find_insertion_point(find_range(aligned.get(), list), first, last, uri);
    if (trace_insertion)
        trace_decision(action, position, uri);
    if (action == insertion_ignore)
        return nullptr;

    if (action == insertion_update) {
        if (!position || position->type != annotation_concept)
            return nullptr;
        auto* existing = static_cast<Concept*>(position);
        if (existing->flags.test(Concept::filtered)) {
            existing->flags.set(Concept::deleted);
            return nullptr;
        }
        add_parent(existing, parent);
        existing->flags.reset(Concept::deleted);
        runtime::Context context(&blackboard, info, existing, get_top_level_capture_group(parent));
        resolve_attributes(blackboard, attributes, context);
        add_attributes(existing, attributes);
        if (apply_pos_filter(list, existing)) {
            apply_inheritance(list, existing);
            if (is_function(existing->uri)) {
                move_to_new_location(list, existing);
                apply_function(blackboard, context);
            }
            if (info->sentence) {
                info->sentence->encoded_ids.insert(existing->encoded_id | 0x20000000u);
                info->sentence->changed = true;
            }
        }
        return existing;
    }

    if (domain && domain->no_crlf.count(uri) && has_crlf(blackboard, first, last))
        return nullptr;

    auto* created = new Concept(first, last, uri);
    add_attributes(created, attributes);
    if (shortest)
        created->flags.set(Concept::shorted_match);
    add_parent(created, parent);
    reset_encoding(blackboard, created, info->sentence);

    if (!position) {
        list.push_back(created);
    } else if (position == parent && parent->begin == first && parent->end == last &&
               position->next) {
        // A child with its parent's span follows the parent.
        list.insert(RawPtrIterator(position->next), created);
    } else {
        list.insert(RawPtrIterator(position), created);
    }
    add_end_annotation(list, aligned, end, created);

    if (apply_pos_filter(list, created)) {
        apply_inheritance(list, created);
        if (!mark_childeren_as_deleted(RawPtrIterator(created), concept_range_end(created), uri,
                                       Concept::deleted))
            created->flags.set(Concept::deleted);
        runtime::Context context(&blackboard, info, created, get_top_level_capture_group(parent));
        resolve_attributes(blackboard, created->attributes.attributes, context);
        if (is_function(uri))
            apply_function(blackboard, context);
        static const std::map<std::string, ConceptDefinition> no_definitions;
        apply_concept_definitions(*this, domain ? domain->concept_definitions : no_definitions,
                                  created, context);
        apply_conditions(blackboard, created);
    }
    return created;
}

} // namespace dez::trelix

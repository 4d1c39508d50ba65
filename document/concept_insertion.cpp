#include "document/concept_insertion.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

#include "analysis/offset_table.h"
#include "document/add_concept_to_collection.h"
#include "document/annotation_text.h"
#include "document/attribute_resolution.h"
#include "document/blackboard.h"
#include "domain/concept_definition.h"
#include "domain/convert_attributes.h"
#include "domain/domain_facade.h"
#include "matcher/action_registry.h"
#include "matcher/runtime_context.h"

namespace dez::trelix {

namespace {

bool is_concept(const Annotation* a) {
    return a && a->type == annotation_concept;
}

bool is_end_marker(const Annotation* a) {
    return a && a->type == annotation_end;
}

// Order-sensitive, so that (a, b) and (b, a) give different numbers.
size_t hash_combine(size_t seed, size_t value) {
    return seed ^ (value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2));
}

void register_in(EndAnnotation* marker, Concept* concept_) {
    marker->add(concept_);
    concept_->end_annotation = marker;
}

} // namespace

RawPtrIterator align_begin(RawPtrIterator position) {
    while (is_end_marker(position.get()))
        ++position;
    return position;
}

bool has_crlf(const Blackboard& blackboard, uint32_t begin, uint32_t end) {
    if (!blackboard.text || begin >= end)
        return false;
    // Offsets count characters; the text is UTF-8 bytes.
    uint64_t first = begin;
    uint64_t last = end;
    if (blackboard.offset_table) {
        first = from_unicode_2_utf8_offset(blackboard.offset_table.get(), begin);
        last = from_unicode_2_utf8_offset(blackboard.offset_table.get(), end);
    }
    last = std::min<uint64_t>(last, blackboard.text_length);
    if (first >= last)
        return false;
    return std::memchr(blackboard.text + first, '\n', last - first) != nullptr;
}

std::pair<Annotation*, Annotation*> find_range(Annotation* annotation,
                                               const qvr::common::RawPtrList<Annotation>& list) {
    if (!annotation)
        return {nullptr, nullptr};
    Annotation* first = annotation;
    while (is_concept(first->prev))
        first = first->prev;
    if (!first->prev) {
        // The sentence-wide concept heads the list and stays first.
        first = list.head && list.head->next ? list.head->next : list.head;
    }
    Annotation* stop = first;
    while (is_concept(stop))
        stop = stop->next;
    return {first, stop};
}

Concept* has_bigger_concepts(RawPtrIterator position, uint32_t begin, uint32_t /*end*/,
                             const std::string& uri) {
    for (Annotation* a = position.get(); a; a = a->prev) {
        if (!is_concept(a))
            continue;
        auto* c = static_cast<Concept*>(a);
        if (c->begin < begin && c->end > begin && c->uri == uri)
            return c;
    }
    return nullptr;
}

std::pair<InsertionAction, Annotation*>
find_insertion_point(const std::pair<Annotation*, Annotation*>& range, uint32_t begin,
                     uint32_t end, const std::string& uri) {
    Annotation* first = range.first;
    Annotation* stop = range.second;
    if (!first)
        return {insertion_add, nullptr};
    if (first == stop)
        return {insertion_add, stop};

    for (Annotation* a = first; a && a != stop; a = a->next) {
        if (!is_concept(a))
            continue;
        auto* c = static_cast<Concept*>(a);
        if (c->begin != begin || c->uri != uri)
            continue;
        if (c->end == end)
            return {insertion_update, c};
        if (c->end > end)
            return {insertion_ignore, c};
        // The newcomer is longer: it goes before the concepts ending with it.
        Annotation* at = c;
        while (at != first && is_concept(at->prev) && at->prev->end == c->end)
            at = at->prev;
        return {insertion_add, at};
    }
    for (Annotation* a = first; a && a != stop; a = a->next)
        if (a->begin >= begin && a->end <= end)
            return {insertion_add, a};
    return {insertion_add, stop};
}

bool mark_childeren_as_deleted(Concept* concept_, size_t flag) {
    // An explicit stack instead of recursion: nesting can be arbitrarily deep.
    struct Frame {
        Concept* owner;
        Annotation* at;
        Annotation* stop;
    };
    std::vector<Frame> frames;
    auto open = [&](Concept* c) { frames.push_back({c, c->next, concept_range_end(c).get()}); };
    open(concept_);
    while (!frames.empty()) {
        Frame& top = frames.back();
        if (!top.at || top.at == top.stop) {
            frames.pop_back();
            continue;
        }
        Annotation* a = top.at;
        top.at = a->next;
        if (!is_concept(a))
            continue;
        auto* nested = static_cast<Concept*>(a);
        Concept* owner = top.owner;
        if (nested->flags.test(flag) ||
            (!has_parent(nested, owner) && nested->uri != owner->uri))
            continue;
        if (owner->begin < nested->begin && nested->flags.test(Concept::shorted_match))
            return false;
        nested->flags.set(flag);
        open(nested);
    }
    return true;
}

bool mark_childeren_as_deleted(RawPtrIterator begin, RawPtrIterator end, const std::string& uri,
                               size_t flag) {
    if (!is_concept(begin.get()))
        return false;
    auto* outer = static_cast<Concept*>(begin.get());
    mark_childeren_as_deleted(outer, flag);
    Annotation* a = outer->next;
    if (a == end.get())
        return false;
    for (; a && a != end.get(); a = a->next) {
        if (!is_concept(a))
            continue;
        auto* nested = static_cast<Concept*>(a);
        if (nested->uri != uri || nested->flags.test(Concept::deleted))
            continue;
        if (nested->flags.test(Concept::shorted_match))
            return false;
        nested->flags.set(flag);
        if (!mark_childeren_as_deleted(nested, flag))
            return false;
    }
    return true;
}

bool mark_childeren_as_deleted(qvr::common::RawPtrList<Annotation>& /*list*/, Concept* concept_,
                               size_t flag) {
    return mark_childeren_as_deleted(RawPtrIterator(concept_), concept_range_end(concept_),
                                     concept_->uri, flag);
}

void move_to_new_location(qvr::common::RawPtrList<Annotation>& list, Annotation* annotation) {
    Annotation* earliest = nullptr;
    // The sentence-wide concept at the head stays first.
    for (Annotation* a = annotation->prev; is_concept(a) && a != list.head &&
                                           a->begin == annotation->begin &&
                                           a->end <= annotation->end;
         a = a->prev)
        earliest = a;
    if (!earliest)
        return;
    list.unlink(annotation);
    list.insert(RawPtrIterator(earliest), annotation);
}

void assert_level_capture_group(const Concept* /*concept_*/) {}

Concept* get_top_level_capture_group_recursive(Concept* concept_, int& depth) {
    assert_level_capture_group(concept_);
    if (!concept_ || depth > 4 || !concept_->parents || concept_->parents->empty())
        return concept_;
    ++depth;
    return get_top_level_capture_group_recursive(concept_->parents->front(), depth);
}

Concept* get_top_level_capture_group(Concept* concept_) {
    int depth = 0;
    return get_top_level_capture_group_recursive(concept_, depth);
}

void reset_encoding(Blackboard& blackboard, Concept* concept_, Sentence* sentence) {
    const DomainFacade* domain = blackboard.current_domain.get();
    if (!domain)
        return;
    auto found = domain->concept_names.find(concept_->uri);
    if (found == domain->concept_names.end())
        return;
    concept_->push(found->second);
    if (sentence) {
        sentence->encoded_ids.insert(found->second | 0x20000000u);
        sentence->changed = true;
    }
}

EndAnnotation* add_end_annotation(qvr::common::RawPtrList<Annotation>& list,
                                  RawPtrIterator /*begin*/, RawPtrIterator end,
                                  Concept* concept_) {
    Annotation* at = end.get();
    if (!at)
        return nullptr;
    switch (at->type) {
    case annotation_end: {
        auto* marker = static_cast<EndAnnotation*>(is_end_marker(at->prev) ? at->prev : at);
        register_in(marker, concept_);
        return marker;
    }
    case annotation_token:
    case annotation_concept:
    case annotation_end_of_stream: {
        if (is_end_marker(at->prev)) {
            register_in(static_cast<EndAnnotation*>(at->prev), concept_);
            return nullptr;
        }
        auto* marker = new EndAnnotation(concept_->end);
        list.insert(RawPtrIterator(at), marker);
        register_in(marker, concept_);
        return marker;
    }
    default:
        return nullptr;
    }
}

void apply_concept_definitions(AddConceptToCollection& collector,
                               const std::map<std::string, ConceptDefinition>& definitions,
                               Concept* concept_, runtime::Context& context) {
    auto found = definitions.find(concept_->uri);
    if (found == definitions.end())
        return;
    const ConceptDefinition& definition = found->second;

    Attributes attributes(definition.attributes);
    for (auto& entry : attributes) {
        const auto* text = boost::any_cast<std::string>(&entry.second);
        if (!text || text->compare(0, 2, "f\"") != 0)
            continue;
        const std::string format = text->size() > 2 ? text->substr(2, text->size() - 3) : "";
        entry.second = AttributeFormatValue{format, {}};
    }
    Blackboard& blackboard = context.document ? *context.document : collector.blackboard;
    resolve_attributes(blackboard, attributes, context);
    for (const auto& [key, value] : attributes)
        concept_->add(key, to_string(value), store_for(key));

    for (const auto& [uri, entry_attributes] : definition.follow_ups) {
        if (uri == "tlx::push_att") {
            context.uri = uri;
            context.arguments = convert_attributes(entry_attributes);
            apply_function(blackboard, context);
        } else if (uri == "tlx::inherit") {
            // An inherit action over the same span whose target is the
            // defined concept; the action copies once the rule has matched.
            Attributes inherit(entry_attributes);
            inherit.add("to", concept_->uri);
            collector(RawPtrIterator(concept_), concept_range_end(concept_), uri,
                      std::move(inherit), nullptr, "concept_definitions");
        } else {
            collector(RawPtrIterator(concept_), concept_range_end(concept_), uri,
                      entry_attributes, nullptr, "concept_definitions");
        }
    }
}

ConceptAttributeStoreType store_for(const std::string& key) {
    return key == "pos" || key == "inherit" || key == "_condition" ? store_own : store_by_key;
}

void split_canonical_uri(std::string& uri, Attributes& attributes) {
    size_t start = 0;
    for (size_t plus = uri.find('+'); plus != std::string::npos; plus = uri.find('+', start)) {
        attributes.add("canonical", uri.substr(start, plus - start));
        start = plus + 1;
    }
    uri.erase(0, start);
}

std::string filter_uri(const Attributes& attributes) {
    const std::hash<std::string> hash;
    size_t id = 0;
    for (const auto& [key, value] : attributes) {
        id = hash_combine(id, hash(key));
        id = hash_combine(id, hash(to_string(value)));
    }
    return "tlx::filter" + std::to_string(id);
}

} // namespace dez::trelix

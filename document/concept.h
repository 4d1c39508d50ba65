#pragma once

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <boost/any.hpp>

#include "document/annotation.h"
#include "document/concept_attributes.h"

namespace dez::trelix {

class EndAnnotation;

// Kind 2: a stretch of a sentence named by a rule, lexicon, conjecture or host.
// It stands before the annotations it covers; `end_annotation` stands after them.
class Concept : public Annotation {
public:
    // Bit positions in `flags`.
    enum flag : size_t {
        deleted = 0,       // no longer takes part; stays in its list
        shorted_match = 1, // asked for the shortest match
        import = 2,        // selected for the output
        filtered = 3,      // removed by a filter action (always with deleted)
        to_resolve = 4,    // carried and printed only
        to_delete = 5,     // unlinked and destroyed by the purge
    };

    Concept(uint32_t begin, uint32_t end, const std::string& uri)
        : Annotation(annotation_concept, begin, end), uri(uri) {}
    // Unregisters the concept from its end marker and from the parent lists
    // that hold it, so that no annotation keeps a pointer to it.
    ~Concept() override;

    // Replaces `encoded_id`.
    void push(uint32_t const& id) override;
    // False for a deleted concept.
    bool has(uint32_t const& id) const override;

    bool has_attribute(const std::string& key) const { return attributes.has_attribute(key); }
    const std::string& get_attribute(const std::string& key) const {
        return attributes.get_attribute(key);
    }
    void remove_attribute(const std::string& key, const std::string& value) {
        attributes.remove_attribute(key, value);
    }
    bool add(const std::pair<std::string, boost::any>& pair,
             ConceptAttributeStoreType store = store_by_key) {
        return attributes.add(pair, store);
    }
    bool add(const std::string& key, const std::string& value,
             ConceptAttributeStoreType store = store_by_key) {
        return attributes.add(key, value, store);
    }
    uint32_t add(const Attributes& pairs, ConceptAttributeStoreType store = store_by_key) {
        return attributes.add(pairs, store);
    }
    // Own part only.
    void remove_attributes(const std::string& key) { attributes.attributes.remove_attributes(key); }
    void clear_attributes() { attributes.attributes.clear(); }

    // A rule's attribute condition: the value text starts with '"' (exact
    // value) or another marker (a regular expression over the rest, matched
    // against whole value texts). A bad expression is reported on standard
    // output and gives false.
    bool match(const std::pair<std::string, boost::any>& condition) const;

    std::string uri;
    EndAnnotation* end_annotation = nullptr; // not owned
    // Concepts matched as containing this one; not owned. Change it only
    // through add_parent/remove_parent, which keep the concepts' back links.
    std::optional<std::vector<Concept*>> parents;
    std::optional<std::string> instance_key;
    std::optional<int64_t> instance_index;
    uint32_t encoded_id = 0;
    std::bitset<6> flags;
    ConceptAttributes attributes;

private:
    friend void add_parent(Concept* child, Concept* parent);
    friend void remove_parent(Concept* child, Concept* parent);

    // The concepts whose `parents` hold this one.
    std::vector<Concept*> parent_of_;
};

// Appends `parent` to the child's parents unless it is null, the child itself
// or already there.
void add_parent(Concept* child, Concept* parent);
bool has_parent(const Concept* child, const Concept* parent);
// Removes the first occurrence of `parent` from the child's parents.
void remove_parent(Concept* child, Concept* parent);

} // namespace dez::trelix

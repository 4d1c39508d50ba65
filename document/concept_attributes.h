#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <utility>

#include <boost/any.hpp>

#include "document/attributes.h"

namespace dez::trelix {

// Where `ConceptAttributes::add` puts an attribute.
enum ConceptAttributeStoreType : uint32_t {
    // The shared part when there is one and the key does not begin with "_",
    // else the own part.
    store_by_key = 0,
    // Always the own part.
    store_own = 1,
};

// The attributes of a concept: its own part and a part it may share with
// other concepts (the mentions of one entity). Keys beginning with "_" are
// private to one concept and never reach a shared part.
class ConceptAttributes {
public:
    using KeyFilter = std::function<bool(const std::string&)>;

    // The filter that accepts every key.
    static bool CAFT_None(const std::string& key);

    bool has_attribute(const std::string& key) const;
    // Own part first, then the shared part; the empty string when absent.
    const std::string& get_attribute(const std::string& key) const;

    bool add(const std::pair<std::string, boost::any>& pair,
             ConceptAttributeStoreType store = store_by_key);
    bool add(const std::string& key, const std::string& value,
             ConceptAttributeStoreType store = store_by_key);
    uint32_t add(const Attributes& pairs, ConceptAttributeStoreType store = store_by_key);

    // From the own part and from the shared part, i.e. from every concept
    // holding that part.
    void remove_attribute(const std::string& key, const std::string& value);

    // Moves the public entries of `other` into this shared part (made when
    // absent); `other` keeps only its "_" keys.
    void share_from_this(Attributes& other);
    // Moves `other`'s shared entries and its public own entries that `filter`
    // accepts into this shared part, then makes `other` hold this shared part.
    void share_from_this(ConceptAttributes& other, const KeyFilter& filter);
    // As above without a filter, but the first value of a key wins.
    void share_from_this_uniq(ConceptAttributes& other);

    Attributes attributes;
    std::shared_ptr<Attributes> shared;
};

// A ConceptAttributes with an (empty) shared part from the start; the
// instance stores keep one per entity.
class SharedAttributes : public ConceptAttributes {
public:
    SharedAttributes();
};

// Prints own entries as l:key:text; and shared ones as s:key:text;
struct print_verbose {
    explicit print_verbose(const ConceptAttributes& attributes) : attributes(attributes) {}
    const ConceptAttributes& attributes;
};

// Own entries, then shared ones, as key=text;
std::ostream& operator<<(std::ostream& os, const ConceptAttributes& attributes);
std::ostream& operator<<(std::ostream& os, const print_verbose& verbose);

// One JSON object mapping each key that `filter` accepts to the array of its
// value texts, own values first, then shared ones. `filter` must be set.
void to_json(std::ostream& os, const ConceptAttributes& attributes,
             const std::function<bool(const std::string&)>& filter);

} // namespace dez::trelix

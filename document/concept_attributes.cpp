#include "document/concept_attributes.h"

#include <ostream>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "api/encoded_quoted_string.h"

namespace dez::trelix {

namespace {

bool is_private(const std::string& key) {
    return !key.empty() && key[0] == '_';
}

} // namespace

bool ConceptAttributes::CAFT_None(const std::string&) {
    return true;
}

bool ConceptAttributes::has_attribute(const std::string& key) const {
    return attributes.has_attribute(key) || (shared && shared->has_attribute(key));
}

const std::string& ConceptAttributes::get_attribute(const std::string& key) const {
    if (!attributes.has_attribute(key) && shared && shared->has_attribute(key))
        return shared->get_attribute(key);
    return attributes.get_attribute(key);
}

bool ConceptAttributes::add(const std::pair<std::string, boost::any>& pair,
                            ConceptAttributeStoreType store) {
    if (store == store_by_key && shared && !is_private(pair.first))
        return shared->add(pair);
    return attributes.add(pair);
}

bool ConceptAttributes::add(const std::string& key, const std::string& value,
                            ConceptAttributeStoreType store) {
    return add(std::pair<std::string, boost::any>(key, value), store);
}

uint32_t ConceptAttributes::add(const Attributes& pairs, ConceptAttributeStoreType store) {
    if (&pairs == &attributes || &pairs == shared.get()) {
        // Adding a list to itself must not walk it while it grows.
        Attributes copy(pairs);
        return add(copy, store);
    }
    uint32_t added = 0;
    for (const auto& pair : pairs)
        if (add(pair, store))
            ++added;
    return added;
}

void ConceptAttributes::remove_attribute(const std::string& key, const std::string& value) {
    attributes.remove_attribute(key, value);
    if (shared)
        shared->remove_attribute(key, value);
}

void ConceptAttributes::share_from_this(Attributes& other) {
    if (!shared)
        shared = std::make_shared<Attributes>();
    if (&other == shared.get())
        return;
    std::vector<std::string> moved;
    for (const auto& entry : other) {
        if (is_private(entry.first))
            continue;
        shared->add(entry);
        moved.push_back(entry.first);
    }
    for (const auto& key : moved)
        other.remove_attributes(key);
}

namespace {

// Moves the public entries of `other` (its shared part first, unless it is
// already `shared`) that `accept` takes into `shared`, adding only keys
// `shared` lacks when `uniq`; then `other` shares that part.
void move_into_shared(std::shared_ptr<Attributes>& shared, ConceptAttributes& other,
                      const ConceptAttributes::KeyFilter& accept, bool uniq) {
    if (!shared)
        shared = std::make_shared<Attributes>();
    std::vector<std::string> moved;
    auto take = [&](const Attributes& list) {
        for (const auto& entry : list) {
            if (is_private(entry.first) || !accept(entry.first))
                continue;
            if (!uniq || !shared->has_attribute(entry.first))
                shared->add(entry);
            moved.push_back(entry.first);
        }
    };
    if (other.shared && other.shared != shared)
        take(*other.shared);
    take(other.attributes);
    for (const auto& key : moved)
        other.attributes.remove_attributes(key);
    other.shared = shared;
}

} // namespace

void ConceptAttributes::share_from_this(ConceptAttributes& other, const KeyFilter& filter) {
    move_into_shared(shared, other, filter, false);
}

void ConceptAttributes::share_from_this_uniq(ConceptAttributes& other) {
    move_into_shared(shared, other, [](const std::string&) { return true; }, true);
}

SharedAttributes::SharedAttributes() {
    shared = std::make_shared<Attributes>();
}

std::ostream& operator<<(std::ostream& os, const ConceptAttributes& attributes) {
    os << attributes.attributes;
    if (attributes.shared)
        os << *attributes.shared;
    return os;
}

std::ostream& operator<<(std::ostream& os, const print_verbose& verbose) {
    for (const auto& entry : verbose.attributes.attributes)
        os << "l:" << entry.first << ':' << to_string(entry.second) << ';';
    if (verbose.attributes.shared)
        for (const auto& entry : *verbose.attributes.shared)
            os << "s:" << entry.first << ':' << to_string(entry.second) << ';';
    return os;
}

void to_json(std::ostream& os, const ConceptAttributes& attributes,
             const std::function<bool(const std::string&)>& filter) {
    // One member per key, so that strict readers keep every value: keys in
    // order of first appearance, own values before shared ones.
    std::vector<std::pair<const std::string*, std::vector<const std::string*>>> members;
    std::unordered_map<std::string_view, size_t> index;
    auto collect = [&](const Attributes& list) {
        for (const auto& entry : list) {
            if (!filter(entry.first))
                continue;
            auto found = index.find(entry.first);
            if (found == index.end()) {
                found = index.emplace(entry.first, members.size()).first;
                members.emplace_back(&entry.first, std::vector<const std::string*>());
            }
            members[found->second].second.push_back(&to_string(entry.second));
        }
    };
    collect(attributes.attributes);
    if (attributes.shared)
        collect(*attributes.shared);

    os << '{';
    for (size_t i = 0; i < members.size(); ++i) {
        if (i)
            os << ',';
        os << encoded_quoted_string(*members[i].first) << ":[";
        const auto& values = members[i].second;
        for (size_t v = 0; v < values.size(); ++v) {
            if (v)
                os << ',';
            os << encoded_quoted_string(*values[v]);
        }
        os << ']';
    }
    os << '}';
}

} // namespace dez::trelix

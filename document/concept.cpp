#include "document/concept.h"

#include <algorithm>
#include <exception>
#include <iostream>

#include "document/end_annotation.h"
#include "foundation/regex.h"
#include "foundation/regex_factory.h"

namespace dez::trelix {

namespace {

template <typename T> void erase_all(std::vector<T*>& list, const T* element) {
    list.erase(std::remove(list.begin(), list.end(), element), list.end());
}

// Calls `test` with the text of every value of `key`, own values first, until
// it answers true.
template <typename Test>
bool any_value(const ConceptAttributes& attributes, const std::string& key, Test test) {
    for (const auto& entry : attributes.attributes)
        if (entry.first == key && test(to_string(entry.second)))
            return true;
    if (attributes.shared)
        for (const auto& entry : *attributes.shared)
            if (entry.first == key && test(to_string(entry.second)))
                return true;
    return false;
}

} // namespace

Concept::~Concept() {
    if (end_annotation)
        erase_all<Annotation>(end_annotation->concepts, this);
    for (Concept* child : parent_of_)
        if (child->parents)
            erase_all<Concept>(*child->parents, this);
    if (parents)
        for (Concept* parent : *parents) {
            auto& back = parent->parent_of_;
            auto found = std::find(back.begin(), back.end(), this);
            if (found != back.end())
                back.erase(found);
        }
}

void Concept::push(uint32_t const& id) {
    encoded_id = id;
}

bool Concept::has(uint32_t const& id) const {
    return !flags.test(deleted) && encoded_id == id;
}

bool Concept::match(const std::pair<std::string, boost::any>& condition) const {
    const std::string& text = raw_string(condition.second);
    const std::string rest = text.empty() ? std::string() : text.substr(1);
    if (!text.empty() && text[0] == '"')
        return any_value(attributes, condition.first,
                         [&](const std::string& value) { return value == rest; });

    std::optional<dez::Regex> expression;
    try {
        // Conditions recur on every match attempt: take them from the cache.
        expression.emplace(dez::RegexFactory::get_regex(rest, false));
    } catch (const std::exception& e) {
        std::cout << text << '/' << " is not a valid regular expression: " << '"' << e.what() << '"'
                  << std::endl;
        return false;
    }
    return any_value(attributes, condition.first,
                     [&](const std::string& value) { return expression->regex_match(value); });
}

void add_parent(Concept* child, Concept* parent) {
    if (!parent || parent == child)
        return;
    if (!child->parents)
        child->parents.emplace();
    auto& list = *child->parents;
    if (std::find(list.begin(), list.end(), parent) != list.end())
        return;
    list.push_back(parent);
    parent->parent_of_.push_back(child);
}

bool has_parent(const Concept* child, const Concept* parent) {
    if (!parent || !child->parents)
        return false;
    const auto& list = *child->parents;
    return std::find(list.begin(), list.end(), parent) != list.end();
}

void remove_parent(Concept* child, Concept* parent) {
    if (!child->parents)
        return;
    auto& list = *child->parents;
    auto found = std::find(list.begin(), list.end(), parent);
    if (found == list.end())
        return;
    list.erase(found);
    if (!parent)
        return;
    auto& back = parent->parent_of_;
    auto link = std::find(back.begin(), back.end(), child);
    if (link != back.end())
        back.erase(link);
}

} // namespace dez::trelix

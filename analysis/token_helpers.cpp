#include "analysis/token_helpers.h"

#include <algorithm>

namespace dez::trelix {

namespace {

bool in_class(const MorphData& reading, uint32_t class_id) {
    return (reading.pos_id & 0xFFFF0000u) == class_id;
}

bool starts_with(const MorphData& reading, const std::string& prefix) {
    return reading.pos.compare(0, prefix.size(), prefix) == 0;
}

// Some reading, or (with `components`) one of its direct components, holds.
template <typename Test> bool any_reading(const Token* token, bool components, Test test) {
    if (!token)
        return false;
    for (const MorphData& reading : token->readings) {
        if (test(reading))
            return true;
        if (components && std::any_of(reading.components.begin(), reading.components.end(), test))
            return true;
    }
    return false;
}

template <typename Step> Token* nth_token(const Annotation* from, int n, Step step) {
    if (!from || n < 1)
        return nullptr;
    int met = 0;
    for (const Annotation* a = step(from); a; a = step(a))
        if (a->type == annotation_token && ++met == n)
            return const_cast<Token*>(static_cast<const Token*>(a));
    return nullptr;
}

} // namespace

Token* find_previous_token(RawPtrIterator position, int n) {
    return nth_token(position.get(), n, [](const Annotation* a) { return a->prev; });
}

Token* find_next_token(RawPtrIterator position, int n) {
    return nth_token(position.get(), n, [](const Annotation* a) { return a->next; });
}

Token* first_token(const qvr::common::RawPtrList<Annotation>& list) {
    for (Annotation* a = list.head; a; a = a->next)
        if (a->type == annotation_token)
            return static_cast<Token*>(a);
    return nullptr;
}

bool has_pos(const Token* token, const uint32_t& class_id) {
    return any_reading(token, false, [&](const MorphData& r) { return in_class(r, class_id); });
}

bool has_pos(const Token* token, const std::string& prefix) {
    return any_reading(token, false, [&](const MorphData& r) { return starts_with(r, prefix); });
}

bool has_pos_components(const Token* token, const uint32_t& class_id) {
    return any_reading(token, true, [&](const MorphData& r) { return in_class(r, class_id); });
}

bool has_pos_components(const Token* token, const std::string& prefix) {
    return any_reading(token, true, [&](const MorphData& r) { return starts_with(r, prefix); });
}

bool has_property(const Token& token, const std::string& name) {
    if (token.properties.count(name))
        return true;
    return std::any_of(token.readings.begin(), token.readings.end(), [&](const MorphData& reading) {
        return std::find(reading.tags.begin(), reading.tags.end(), name) != reading.tags.end();
    });
}

bool has_token_property(const Token* token, const std::string& name) {
    return token && has_property(*token, name);
}

bool remove_token_property(Token* token, const std::string& name) {
    return token->properties.erase(name) > 0;
}

void remove_pos_with_morpho_syntax(Token* token, const std::string& tag) {
    token->readings.remove_if([&](const MorphData& reading) {
        return std::find(reading.tags.begin(), reading.tags.end(), tag) != reading.tags.end();
    });
}

} // namespace dez::trelix

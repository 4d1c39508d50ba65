#include "analysis/token_helpers.h"

#include <algorithm>

namespace dez::trelix {

namespace {

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

bool has_pos(const Token* token, const uint32_t& class_id) {
    if (!token)
        return false;
    return std::any_of(
        token->readings.begin(), token->readings.end(),
        [&](const MorphData& reading) { return (reading.pos_id & 0xFFFF0000u) == class_id; });
}

bool has_pos(const Token* token, const std::string& prefix) {
    if (!token)
        return false;
    return std::any_of(token->readings.begin(), token->readings.end(),
                       [&](const MorphData& reading) {
                           return reading.pos.compare(0, prefix.size(), prefix) == 0;
                       });
}

bool has_property(const Token& token, const std::string& name) {
    if (token.properties.count(name))
        return true;
    return std::any_of(token.readings.begin(), token.readings.end(), [&](const MorphData& reading) {
        return std::find(reading.tags.begin(), reading.tags.end(), name) != reading.tags.end();
    });
}

} // namespace dez::trelix

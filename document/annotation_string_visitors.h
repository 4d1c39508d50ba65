#pragma once

#include <cstdint>
#include <string>

#include "document/default_char_traits.h"
#include "document/visitor.h"

namespace dez::trelix {

// Spacing policies: what goes between the tokens a string visitor writes.

// One space before every token but the first.
template <typename String> struct DefaultSpacingPolicy {
    explicit DefaultSpacingPolicy(String* out) : out(out) {}
    void before(const Token& token) {
        if (last_end == -1) {
            last_end = static_cast<int32_t>(token.end);
            return;
        }
        out->push_back(' ');
    }
    String* out;
    int32_t last_end = -1;
};

// One space only where the previous token did not end where this one begins.
template <typename String> struct RealSpacingPolicy {
    explicit RealSpacingPolicy(String* out) : out(out) {}
    void before(const Token& token) {
        if (last_end != -1 && last_end != static_cast<int32_t>(token.begin))
            out->push_back(' ');
        last_end = static_cast<int32_t>(token.end);
    }
    String* out;
    int32_t last_end = -1;
};

template <typename String> struct NoSpacingPolicy {
    explicit NoSpacingPolicy(String* out) : out(out) {}
    void before(const Token&) {}
    String* out;
};

// The tokens' literals.
template <typename String, typename Traits, typename Spacing>
class visit_literal_string : public Visitor<visit_literal_string<String, Traits, Spacing>> {
public:
    explicit visit_literal_string(String* out)
        : Visitor<visit_literal_string<String, Traits, Spacing>>(this), out(out), spacing(out) {}
    ~visit_literal_string() override = default;

    using Visitor<visit_literal_string<String, Traits, Spacing>>::visit;

    bool visit(const Token& token) {
        spacing.before(token);
        out->append(token.literal);
        return false;
    }

    String* out;
    Spacing spacing;
};

// The word class of each token's first reading (its part of speech up to the
// first '-').
template <typename String, typename Traits, typename Spacing>
class visit_pos_string : public Visitor<visit_pos_string<String, Traits, Spacing>> {
public:
    explicit visit_pos_string(String* out)
        : Visitor<visit_pos_string<String, Traits, Spacing>>(this), out(out), spacing(out) {}
    ~visit_pos_string() override = default;

    using Visitor<visit_pos_string<String, Traits, Spacing>>::visit;

    bool visit(const Token& token) {
        if (token.readings.empty())
            return false;
        spacing.before(token);
        const std::string& pos = token.readings.front().pos;
        out->append(pos, 0, pos.find('-'));
        return false;
    }

    String* out;
    Spacing spacing;
};

// The tokens as a name reads: a person's name part by its stem (so a genitive
// loses its ending), dashes dropped. Defined with the annotation texts.
template <typename String, typename Traits, typename Spacing>
class visit_canonical_string : public Visitor<visit_canonical_string<String, Traits, Spacing>> {
public:
    explicit visit_canonical_string(String* out)
        : Visitor<visit_canonical_string<String, Traits, Spacing>>(this), out(out), spacing(out) {}
    ~visit_canonical_string() override = default;

    using Visitor<visit_canonical_string<String, Traits, Spacing>>::visit;

    bool visit(const Token& token);

    String* out;
    Spacing spacing;
};

} // namespace dez::trelix

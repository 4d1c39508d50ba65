#pragma once

#include <cstdint>
#include <string>
#include <type_traits>

#include "document/annotation_stream_info.h"
#include "document/default_char_traits.h"
#include "document/visitor.h"
#include "foundation/char_traits.h"

namespace dez::trelix {

// Token selectors of the streams.
struct AllTokens {
    static bool accept(const Token&) { return true; }
};

// Lone hyphens and underscores stay out of the normalized streams.
struct NormalizedStreamTokens {
    static bool accept(const Token& token) { return token.literal != "-" && token.literal != "_"; }
};

namespace stream_detail {

// Appends `text` converted code point by code point. An invalid code point
// prints a warning and ends the text there; other malformed UTF-8 raises
// utfcpp's errors. Instantiated for the three traits of the streams.
template <typename Traits>
void append_converted(std::vector<char>& buffer, const std::string& text);

// The text with its offset entries, then the separator.
template <typename Traits>
void word_step(annotation_stream_info& info, const std::string& text, uint32_t begin, uint32_t end,
               const char* separator = " ");

inline void add_begin(annotation_stream_info& info, uint32_t begin) {
    info.begin_map.insert({static_cast<int32_t>(begin), info.buffer.size()});
}

inline void add_end(annotation_stream_info& info, uint32_t end) {
    info.end_map.insert({info.buffer.size(), end});
}

} // namespace stream_detail

// Streams "literal" and "normalized_literal": each token's literal.
template <typename Info, typename Traits, typename Selector>
class get_literal_stream : public Visitor<get_literal_stream<Info, Traits, Selector>> {
public:
    explicit get_literal_stream(Info* info)
        : Visitor<get_literal_stream<Info, Traits, Selector>>(this), info(info) {}
    ~get_literal_stream() override = default;

    using Visitor<get_literal_stream<Info, Traits, Selector>>::visit;

    bool visit(const Token& token) {
        if (Selector::accept(token))
            stream_detail::word_step<Traits>(*info, token.literal, token.begin, token.end);
        return false;
    }

    Info* info;
};

// Streams "stem" and "normalized_stem": the first reading's stem, or the
// stems of its components for a token the lexicon tagged.
template <typename Info, typename Traits, typename Selector>
class get_stem_stream : public Visitor<get_stem_stream<Info, Traits, Selector>> {
public:
    explicit get_stem_stream(Info* info)
        : Visitor<get_stem_stream<Info, Traits, Selector>>(this), info(info) {}
    ~get_stem_stream() override = default;

    using Visitor<get_stem_stream<Info, Traits, Selector>>::visit;

    bool visit(const Token& token) {
        if (!Selector::accept(token))
            return false;
        if (token.readings.empty()) {
            // The literal stands in for the stem; it gets offsets like any
            // word so that a match over it maps back to the token.
            stream_detail::add_begin(*info, token.begin);
            if constexpr (std::is_same_v<Traits, DefaultCharTraits>)
                info->buffer.insert(info->buffer.end(), token.literal.begin(), token.literal.end());
            else
                stream_detail::append_converted<Traits>(info->buffer, token.literal);
            stream_detail::add_end(*info, token.end);
            info->buffer.push_back(' ');
            return false;
        }
        stream_detail::add_begin(*info, token.begin);
        const MorphData& reading = token.readings.front();
        if (token.token_flags & 0x10) {
            for (const MorphData& component : reading.components)
                stream_detail::word_step<Traits>(*info, component.stem, token.begin, token.end);
            return false;
        }
        stream_detail::append_converted<Traits>(info->buffer, reading.stem);
        stream_detail::add_end(*info, token.end);
        info->buffer.push_back(' ');
        return false;
    }

    Info* info;
};

// Stream "component": the stems of the first reading's components, or its
// stem.
template <typename Info, typename Traits>
class get_component_stream : public Visitor<get_component_stream<Info, Traits>> {
public:
    explicit get_component_stream(Info* info)
        : Visitor<get_component_stream<Info, Traits>>(this), info(info) {}
    ~get_component_stream() override = default;

    using Visitor<get_component_stream<Info, Traits>>::visit;

    bool visit(const Token& token) {
        if (token.readings.empty()) {
            stream_detail::word_step<Traits>(*info, token.literal, token.begin, token.end);
            return false;
        }
        const MorphData& reading = token.readings.front();
        if (reading.components.empty()) {
            stream_detail::word_step<Traits>(*info, reading.stem, token.begin, token.end);
            return false;
        }
        for (const MorphData& component : reading.components)
            stream_detail::word_step<Traits>(*info, component.stem, token.begin, token.end);
        return false;
    }

    Info* info;
};

// Stream "head": the stem of the first reading's last component, or its stem.
template <typename Info, typename Traits>
class get_head_stream : public Visitor<get_head_stream<Info, Traits>> {
public:
    explicit get_head_stream(Info* info)
        : Visitor<get_head_stream<Info, Traits>>(this), info(info) {}
    ~get_head_stream() override = default;

    using Visitor<get_head_stream<Info, Traits>>::visit;

    bool visit(const Token& token) {
        if (token.readings.empty()) {
            stream_detail::word_step<Traits>(*info, token.literal, token.begin, token.end);
            return false;
        }
        const MorphData& reading = token.readings.front();
        const std::string& stem =
            reading.components.empty() ? reading.stem : reading.components.back().stem;
        stream_detail::word_step<Traits>(*info, stem, token.begin, token.end);
        return false;
    }

    Info* info;
};

// Stream "canonical": the "canonical" value of every concept that has one,
// outer concepts first; tokens give nothing.
template <typename Info, typename Traits>
class get_canonical_stream : public Visitor<get_canonical_stream<Info, Traits>> {
public:
    explicit get_canonical_stream(Info* info)
        : Visitor<get_canonical_stream<Info, Traits>>(this), info(info) {}
    ~get_canonical_stream() override = default;

    using Visitor<get_canonical_stream<Info, Traits>>::visit;

    void visit(const Concept& concept_) {
        if (concept_.has_attribute("canonical"))
            stream_detail::word_step<Traits>(*info, concept_.get_attribute("canonical"),
                                             concept_.begin, concept_.end, " ,");
    }
    bool visit(const Token&) { return false; }

    Info* info;
};

} // namespace dez::trelix
